#pragma once
// Fixture of the widget facade tests: one QApplication for the whole run (offscreen), a
// fresh TApplication per test, and a message-box handler that records every box and
// answers with nextAnswer.
#include "tests/support/GuiTestSupport.h"

namespace widgets_test {

// Processes events until cond holds (at most 5 s); a timeout fails the test.
#define WAIT_UNTIL(cond) GUI_WAIT_UNTIL(cond)

inline guitest::CommandLine kCommandLine{"widgets_test"};
inline ::testing::Environment* const kQtEnvironment = guitest::AddQtEnvironment(kCommandLine);

using guitest::Box;

class WidgetsTest : public guitest::GuiFixture {
protected:
    void SetUp() override { realHandler = StartApplication(kCommandLine); }
    void TearDown() override { app.reset(); }

    // A shown and active form of the given client size.
    static TForm* ActiveForm(int width = 300, int height = 200) {
        return ShowActiveForm(width, height);
    }

    // The dialog the application object installed (replaced by the recorder).
    MessageBoxHandler realHandler;
};

// A component that reports its destruction: DestroyProbe<TPanel>, DestroyProbe<TForm>, ...
template <class Base>
class DestroyProbe : public Base {
public:
    DestroyProbe(TComponent* owner, bool* destroyed) : Base(owner), destroyed_(destroyed) {}
    ~DestroyProbe() override { *destroyed_ = true; }

private:
    bool* destroyed_;
};

}  // namespace widgets_test
