#pragma once
// Helpers shared by the sources of the widget facade. Not part of its interface: code
// outside platform/widgets includes the public headers only.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include <QString>

class QEvent;
class QObject;
class QWidget;
class TControl;
class TWinControl;
class TForm;

namespace widgets_internal {

// Shows an exception that escaped an event handler (TApplication::HandleException, or
// stderr without an application object). e is null for an exception of unknown type.
void ReportException(const std::exception* e) noexcept;

// Runs an event handler; exceptions never unwind into Qt.
template <class F>
void SafeCall(F&& f) noexcept {
    try {
        f();
    } catch (const std::exception& e) {
        ReportException(&e);
    } catch (...) {
        ReportException(nullptr);
    }
}

// The control whose own widget is w, or null.
TControl* ControlOf(const QWidget* w);
// The control of w or of its nearest ancestor widget that belongs to a control.
TControl* NearestControl(const QWidget* w);
TWinControl* NearestWinControl(const QWidget* w);
// Whether c points to a control that has not been destroyed.
bool IsLive(const TControl* c);

// Runs fn from the event loop, after the current handler has returned.
void PostCall(std::function<void()> fn);

// The real message box behind platform/MessageBox.h (a QMessageBox over the active window).
int ShowQtMessageBox(const std::string& text, const std::string& caption, unsigned flags);

// A byte string as tool-tip text, never taken for rich text.
QString PlainToolTip(const std::string& text);

}  // namespace widgets_internal

// Access to private state across the facade's sources.
struct ControlAccess {
    static QWidget* Container(const TWinControl* control);
    static QObject* Sink(TControl* control);
    static bool WidgetEvent(TControl* control, QObject* watched, QEvent* event);
    static void SetDerivedAccessibleName(TControl* control, const std::string& caption);
    static TWinControl*& TrackedActive(TForm* form);
    static void NextDlgCtl(TForm* form, uintptr_t wParam, intptr_t lParam);
};
