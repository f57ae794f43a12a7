#pragma once
// Fixture of the binding tests: one QApplication for the run (offscreen), a fresh
// TApplication per test, message boxes and beeps recorded through the facade's seams, and
// helpers that type, paste and move the focus the way a user does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/System.h"
#include "platform/widgets/Widgets.h"

// QTest's QTRY_VERIFY reports a timeout to QTest's own result log and returns, which a
// GoogleTest body would take as a pass. Waits here fail the GoogleTest case instead.
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) \
    ASSERT_TRUE(QTest::qWaitFor([&]() { return static_cast<bool>(expr); }, 5000)) << #expr

namespace bindingtest {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "binding_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

struct Box {
    std::string text;
    std::string caption;
    unsigned flags;
};

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "binding_test";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<TApplication>(argc, argv);
        app->SetTitle("KSV-720E Test");
        SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, unsigned flags) {
                boxes.push_back({text, caption, flags});
                return IDOK;
            });
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
    TForm* ActiveForm(int width = 400, int height = 300) {
        auto* form = new TForm(Application);
        form->SetClientWidth(width);
        form->SetClientHeight(height);
        form->Show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
        return form;
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

    std::unique_ptr<TApplication> app;
    std::vector<Box> boxes;
    int beeps = 0;
    std::pair<unsigned, unsigned> lastBeep{0, 0};
    int nextRow = 0;
};

}  // namespace bindingtest
