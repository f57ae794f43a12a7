#include "platform/widgets/Dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/System.h"
#include "platform/widgets/WidgetsInternal.h"

namespace {

BeepHandler& TheBeepHandler() {
    static BeepHandler handler;
    return handler;
}
unsigned long g_beeps = 0;

}  // namespace

namespace widgets_internal {

int ShowQtMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    switch (flags & 0x0F) {
        case MB_OK:
            buttons = QMessageBox::Ok;
            escapeButton = QMessageBox::Ok;
            break;
        case MB_OKCANCEL:
            buttons = QMessageBox::Ok | QMessageBox::Cancel;
            escapeButton = QMessageBox::Cancel;
            break;
        case MB_YESNOCANCEL:
            buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            defaultButton = QMessageBox::Yes;
            escapeButton = QMessageBox::Cancel;
            break;
        case MB_YESNO:
            buttons = QMessageBox::Yes | QMessageBox::No;
            defaultButton = QMessageBox::Yes;
            break;
        default:
            throw ENotSupported("Message box buttons 0x" + std::to_string(flags & 0x0F) +
                                " are not available");
    }
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (flags & 0xF0) {
        case MB_ICONERROR:
            icon = QMessageBox::Critical;
            break;
        case MB_ICONQUESTION:
            icon = QMessageBox::Question;
            break;
        case MB_ICONWARNING:
            icon = QMessageBox::Warning;
            break;
        case MB_ICONINFORMATION:
            icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    QPointer<QWidget> owner = QApplication::activeWindow();
    QMessageBox box(icon, ToQString(caption), QString(), buttons, owner);
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQString(text));
    box.setDefaultButton(defaultButton);
    if (escapeButton != QMessageBox::NoButton) box.setEscapeButton(escapeButton);
    box.exec();
    // As the window system's message box does, the owner window is active again.
    if (owner && owner->isVisible() && !owner->isActiveWindow()) owner->activateWindow();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Cancel:
            return IDCANCEL;
        default:
            break;
    }
    return (flags & 0x0F) == MB_OK ? IDOK : IDCANCEL;
}

}  // namespace widgets_internal

TModalResult MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                        int /*helpContext*/) {
    unsigned flags = 0;
    switch (buttons) {
        case mbOK:
            flags = MB_OK;
            break;
        case mbOK | mbCancel:
            flags = MB_OKCANCEL;
            break;
        case mbYes | mbNo:
            flags = MB_YESNO;
            break;
        case mbYes | mbNo | mbCancel:
            flags = MB_YESNOCANCEL;
            break;
        default:
            throw ENotSupported(
                "MessageDlg offers the buttons OK, OK/Cancel, Yes/No and "
                "Yes/No/Cancel only");
    }
    std::string caption;
    switch (type) {
        case mtWarning:
            caption = "Warning";
            flags |= MB_ICONWARNING;
            break;
        case mtError:
            caption = "Error";
            flags |= MB_ICONERROR;
            break;
        case mtInformation:
            caption = "Information";
            flags |= MB_ICONINFORMATION;
            break;
        case mtConfirmation:
            caption = "Confirm";
            flags |= MB_ICONQUESTION;
            break;
        case mtCustom:
            caption = ApplicationTitle();
            break;
    }
    switch (MessageBox(msg, caption, flags)) {
        case IDOK:
            return mrOk;
        case IDYES:
            return mrYes;
        case IDNO:
            return mrNo;
        default:
            return mrCancel;
    }
}

void Beep() {
    Beep(0, 0);
}

void Beep(unsigned frequency, unsigned durationMs) {
    ++g_beeps;
    if (TheBeepHandler()) {
        BeepHandler handler = TheBeepHandler();
        handler(frequency, durationMs);
        return;
    }
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

BeepHandler SetBeepHandler(BeepHandler handler) {
    BeepHandler previous = std::move(TheBeepHandler());
    TheBeepHandler() = std::move(handler);
    return previous;
}

unsigned long BeepCount() {
    return g_beeps;
}
