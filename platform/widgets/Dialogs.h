#pragma once
// Message dialogs and the beep.
//
// MessageDlg goes through the message-box seam of platform/MessageBox.h, so a test that
// installs a handler with SetMessageBoxHandler sees the dialog's text and caption (and the
// MB_ flags for its icon and buttons) and gives the answer. The real dialog is the one
// TApplication installs.
#include <functional>
#include <string>

#include "platform/widgets/Controls.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message dialog, combined with |: mbOK | mbCancel.
enum TMsgDlgBtn : unsigned { mbYes = 0x1, mbNo = 0x2, mbOK = 0x4, mbCancel = 0x8 };
using TMsgDlgButtons = unsigned;

// Shows msg with the icon of type and the buttons, captioned "Warning", "Error",
// "Information" or "Confirm" (mtCustom: the application title), and returns mrOk, mrCancel,
// mrYes or mrNo. The button sets are those of the window system's message box: mbOK,
// mbOK|mbCancel, mbYes|mbNo and mbYes|mbNo|mbCancel; any other set raises ENotSupported.
// helpContext is kept for the toolkit's signature; there is no help to show.
TModalResult MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext);

// Sounds the system beep (QApplication::beep). The frequency and duration of the Windows
// Beep call are handed to the handler; the system beep has its own.
void Beep();
void Beep(unsigned frequency, unsigned durationMs);
// Replaces the beep (tests install a counter); returns the previous handler. An empty
// handler restores the system beep.
using BeepHandler = std::function<void(unsigned frequency, unsigned durationMs)>;
BeepHandler SetBeepHandler(BeepHandler handler);
// Number of beeps since the program started (both forms, with or without a handler).
unsigned long BeepCount();
