#pragma once
// What the GUI test suites share: the program's QApplication for the whole run (offscreen),
// a fresh TApplication per test, message boxes recorded and answered through the facade's
// seam, active forms, and bounded waits that fail the GoogleTest case.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/widgets/Widgets.h"

// Processes events until `cond` holds (at most 5 s) and fails the GoogleTest case otherwise.
// QTest's QTRY_VERIFY cannot stand in for it: on a timeout it reports to QTest's own result
// log and returns, which a GoogleTest body would take as a pass.
#define GUI_WAIT_UNTIL(cond) \
    ASSERT_TRUE(QTest::qWaitFor([&]() { return static_cast<bool>(cond); }, 5000)) << #cond

namespace guitest {

// A command line of one program name. QApplication and TApplication keep references to it,
// so it lives as long as the run.
class CommandLine {
public:
    explicit CommandLine(const char* programName) : name_(programName) { argv_[0] = name_.data(); }
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    int& Argc() { return argc_; }
    char** Argv() { return argv_; }

private:
    std::string name_;
    int argc_ = 1;
    char* argv_[2] = {nullptr, nullptr};
};

// The run's QApplication, made before the first test unless one exists already.
class QtEnvironment : public ::testing::Environment {
public:
    explicit QtEnvironment(CommandLine& line) : line_(line) {}
    void SetUp() override {
        if (!QApplication::instance())
            app_ = std::make_unique<QApplication>(line_.Argc(), line_.Argv());
    }
    void TearDown() override { app_.reset(); }

private:
    CommandLine& line_;
    std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* AddQtEnvironment(CommandLine& line) {
    return ::testing::AddGlobalTestEnvironment(new QtEnvironment(line));
}

// One message box as the module asked for it.
struct Box {
    std::string text;
    std::string caption;
    unsigned flags;
};

// Base of the GUI fixtures: the test's application object and the recorded message boxes.
class GuiFixture : public ::testing::Test {
protected:
    // Makes the test's TApplication and installs the recorder, which keeps every box in
    // `boxes` and answers with `nextAnswer`. Returns the handler it replaced.
    MessageBoxHandler StartApplication(CommandLine& line) {
        app = std::make_unique<TApplication>(line.Argc(), line.Argv());
        return SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, unsigned flags) {
                boxes.push_back({text, caption, flags});
                return nextAnswer;
            });
    }

    // A shown and active form of the given client size.
    static TForm* ShowActiveForm(int width, int height) {
        auto* form = new TForm(Application);
        form->SetClientWidth(width);
        form->SetClientHeight(height);
        form->Show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
        return form;
    }

    std::unique_ptr<TApplication> app;
    std::vector<Box> boxes;
    int nextAnswer = IDOK;
};

}  // namespace guitest
