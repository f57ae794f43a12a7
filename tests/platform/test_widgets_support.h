#pragma once
// Fixture of the widget facade tests: one QApplication for the whole run (offscreen), a
// fresh TApplication per test, and a message-box handler that records every box and
// answers with nextAnswer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/widgets/Widgets.h"

namespace widgets_test {

// Processes events until cond holds (at most 5 s). QTRY_VERIFY cannot be used in GoogleTest
// bodies: on a timeout it returns without failing the test.
#define WAIT_UNTIL(cond) \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(cond); })) << #cond

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "widgets_test";
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

class WidgetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "widgets_test";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<TApplication>(argc, argv);
        realHandler = SetMessageBoxHandler(
            [this](const std::string& text, const std::string& caption, unsigned flags) {
                boxes.push_back({text, caption, flags});
                return nextAnswer;
            });
    }
    void TearDown() override { app.reset(); }

    // A shown and active form of the given client size.
    TForm* ActiveForm(int width = 300, int height = 200) {
        auto* form = new TForm(Application);
        form->SetClientWidth(width);
        form->SetClientHeight(height);
        form->Show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
        return form;
    }

    std::unique_ptr<TApplication> app;
    // The dialog the application object installed (replaced by the recorder).
    MessageBoxHandler realHandler;
    std::vector<Box> boxes;
    int nextAnswer = IDOK;
};

}  // namespace widgets_test
