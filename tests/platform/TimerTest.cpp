#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/System.h"

namespace {

// Constructed during static initialisation, long before any application object.
TTimer staticTimer;

class App {
public:
    App() : app_(argc_, argv_) {}

private:
    int argc_ = 1;
    char name_[20] = "platform_timer_test";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication app_;
};

// Runs the event loop until done() holds. The guard only ends a test that would hang;
// no result depends on how long anything takes.
bool RunUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Runs the event loop for a number of ticks of an independent 1 ms timer.
void RunTicks(int ticks) {
    int seen = 0;
    RunUntil([&] { return ++seen >= ticks; });
}

TEST(Timer, StaticTimerStartsWithTheApplicationAndSurvivesIt) {
    EXPECT_FALSE(staticTimer.Enabled());
    EXPECT_EQ(staticTimer.Interval(), 1000u);
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    int fired = 0;
    staticTimer.SetInterval(1);
    staticTimer.SetOnTimer([&fired] { ++fired; });
    staticTimer.SetEnabled(true);  // no application yet: nothing runs
    {
        App app;
        EXPECT_TRUE(RunUntil([&] { return fired >= 3; }));
    }
    // Still enabled: the next application object runs it again.
    fired = 0;
    {
        App app;
        EXPECT_TRUE(RunUntil([&] { return fired >= 3; }));
    }
    staticTimer.SetEnabled(false);
    staticTimer.SetOnTimer(nullptr);
    staticTimer.SetInterval(1000);
}

TEST(Timer, DisablingInsideTheHandlerStopsIt) {
    App app;
    TTimer timer;
    int fired = 0;
    timer.SetInterval(1);
    timer.SetOnTimer([&] {
        ++fired;
        timer.SetEnabled(false);
    });
    timer.SetEnabled(true);
    RunTicks(30);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer.Enabled());
}

TEST(Timer, PumpStepDisablesProcessesAndReenables) {
    App app;
    TTimer timer;
    int fired = 0;
    bool inside = false, reentered = false;
    timer.SetInterval(1);
    timer.SetOnTimer([&] {
        reentered = reentered || inside;
        inside = true;
        timer.SetEnabled(false);
        ProcessMessages();
        ++fired;
        timer.SetEnabled(true);
        inside = false;
    });
    timer.SetEnabled(true);
    EXPECT_TRUE(RunUntil([&] { return fired >= 5; }));
    EXPECT_FALSE(reentered);
}

TEST(Timer, HandlerMayReplaceItself) {
    App app;
    TTimer timer;
    int first = 0, second = 0;
    timer.SetInterval(1);
    timer.SetOnTimer([&] {
        ++first;
        timer.SetOnTimer([&] { ++second; });
    });
    timer.SetEnabled(true);
    EXPECT_TRUE(RunUntil([&] { return second >= 3; }));
    EXPECT_EQ(first, 1);
}

TEST(Timer, RunsOnlyWithIntervalAndHandler) {
    App app;
    TTimer noInterval, noHandler;
    int fired = 0, late = 0;
    noInterval.SetInterval(0);
    noInterval.SetOnTimer([&] { ++fired; });
    noInterval.SetEnabled(true);
    noHandler.SetInterval(1);
    noHandler.SetEnabled(true);
    RunTicks(30);
    EXPECT_EQ(fired, 0);
    EXPECT_TRUE(noInterval.Enabled());
    EXPECT_TRUE(noHandler.Enabled());

    noInterval.SetInterval(1);
    noHandler.SetOnTimer([&] { ++late; });
    EXPECT_TRUE(RunUntil([&] { return fired >= 2 && late >= 2; }));
}

TEST(Timer, NewIntervalRestartsARunningTimer) {
    App app;
    TTimer timer;
    int fired = 0;
    timer.SetInterval(3600 * 1000);
    timer.SetOnTimer([&] { ++fired; });
    timer.SetEnabled(true);
    RunTicks(10);
    EXPECT_EQ(fired, 0);
    timer.SetInterval(1);
    EXPECT_TRUE(RunUntil([&] { return fired >= 2; }));
    EXPECT_EQ(timer.Interval(), 1u);
}

TEST(Timer, DestroyedTimerNoLongerFires) {
    App app;
    int fired = 0;
    auto timer = std::make_unique<TTimer>();
    timer->SetInterval(1);
    timer->SetOnTimer([&] { ++fired; });
    timer->SetEnabled(true);
    EXPECT_TRUE(RunUntil([&] { return fired >= 1; }));
    timer.reset();
    const int before = fired;
    RunTicks(30);
    EXPECT_EQ(fired, before);
}

TEST(Timer, ExceptionFromTheHandlerIsShown) {
    App app;
    SetApplicationTitle("KSV-720E");
    std::optional<std::string> shown, caption;
    SetMessageBoxHandler([&](const std::string& text, const std::string& title, unsigned) {
        shown = text;
        caption = title;
        return IDOK;
    });
    TTimer timer;
    int fired = 0;
    timer.SetInterval(1);
    timer.SetOnTimer([&] {
        if (++fired == 1) throw Exception("(HvSNMP) boom", -500);
    });
    timer.SetEnabled(true);
    EXPECT_TRUE(RunUntil([&] { return fired >= 3; }));
    SetMessageBoxHandler(nullptr);
    EXPECT_EQ(shown, "(HvSNMP) boom");
    EXPECT_EQ(caption, "KSV-720E");
}

}  // namespace
