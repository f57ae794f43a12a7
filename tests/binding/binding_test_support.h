#pragma once
// Fixture of the binding tests: one QApplication for the run (offscreen), a fresh
// TApplication per test, message boxes and beeps recorded through the facade's seams, and
// helpers that type, paste and move the focus the way a user does.
#include <QClipboard>
#include <QCoreApplication>
#include <QLineEdit>
#include <string>
#include <utility>

#include "platform/Strings.h"
#include "platform/System.h"
#include "tests/support/GuiTestSupport.h"

// QTest's QTRY_VERIFY reports a timeout to QTest's own result log and returns, which a
// GoogleTest body would take as a pass. Waits here fail the GoogleTest case instead.
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) GUI_WAIT_UNTIL(expr)

namespace bindingtest {

inline guitest::CommandLine kCommandLine{"binding_test"};
inline ::testing::Environment* const kQtEnvironment = guitest::AddQtEnvironment(kCommandLine);

using guitest::Box;

class GuiTest : public guitest::GuiFixture {
protected:
    void SetUp() override {
        StartApplication(kCommandLine);
        app->SetTitle("KSV-720E Test");
        SetBeepHandler([this](unsigned frequency, unsigned duration) {
            ++beeps;
            lastBeep = {frequency, duration};
        });
    }
    void TearDown() override {
        SetBeepHandler({});
        SetMessageBoxHandler({});
        app.reset();
    }

    // A shown, active form.
    static TForm* ActiveForm(int width = 400, int height = 300) {
        return ShowActiveForm(width, height);
    }

    // An edit in `form`, below the previous ones (the tab order follows creation).
    TEdit* AddEdit(TForm* form) {
        auto* edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetTop(10 + 30 * nextRow++);
        edit->SetLeft(10);
        return edit;
    }

    // Runs the posted events a bounded number of times (posted focus moves included).
    static void Settle(int rounds = 10) {
        for (int i = 0; i < rounds; ++i) {
            QCoreApplication::processEvents();
            ProcessMessages();
        }
    }

    static void Focus(TWinControl* control) {
        control->SetFocus();
        Settle();
    }

    // Typing, key by key, into the focused edit.
    static void Type(TEdit* edit, const std::string& keys) {
        QTest::keyClicks(edit->Widget(), ToQString(keys));
        Settle();
    }

    // Pasting through the clipboard (Ctrl+V) at the cursor.
    static void Paste(TEdit* edit, const std::string& text) {
        QApplication::clipboard()->setText(ToQString(text));
        QTest::keyClick(edit->Widget(), Qt::Key_V, Qt::ControlModifier);
        Settle();
    }

    // Moves the focus from `from` to `to` as a click would, then lets posted moves run.
    static void Leave(TWinControl* /*from*/, TWinControl* to) {
        to->SetFocus();
        Settle();
    }

    int beeps = 0;
    std::pair<unsigned, unsigned> lastBeep{0, 0};
    int nextRow = 0;
};

}  // namespace bindingtest
