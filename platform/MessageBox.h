#pragma once
// Message boxes behind a seam: the module calls MessageBox/ShowMessage; the widget
// layer installs the real dialog, tests install a handler that sees text and caption
// and gives the answer.
#include <functional>
#include <string>

// Button and icon flags and answers, numbered as the Windows message box numbers them.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)>;

// Installs a handler and returns the previous one. Without any handler a message box
// is written to stderr and answered with the first button (IDOK / IDYES).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
// A plain message box with the application title as caption.
void ShowMessage(const std::string& text);
