#include "platform/Timer.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <exception>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/System.h"

namespace {

// Every live TTimer, so that timers enabled before the application object existed can
// be started when it is constructed. Constructed on first use by the first TTimer, it
// outlives all of them, static ones included.
std::vector<TTimer*>& Timers() {
    static std::vector<TTimer*> timers;
    return timers;
}

}  // namespace

TTimer::TTimer() {
    // Runs SyncAll from the constructor of every application object (at once when one
    // exists already).
    static const bool hooked = (qAddPreRoutine(&TTimer::SyncAll), true);
    (void)hooked;
    Timers().push_back(this);
}

TTimer::~TTimer() {
    auto& timers = Timers();
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    if (timer_) {
        QTimer* timer = timer_;
        timer_ = nullptr;
        timer->disconnect();
        delete timer;
    }
}

bool TTimer::Enabled() const {
    return enabled_;
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Sync();
}

unsigned TTimer::Interval() const {
    return interval_;
}

void TTimer::SetInterval(unsigned milliseconds) {
    interval_ = milliseconds;
    Sync();
}

void TTimer::SetOnTimer(std::function<void()> handler) {
    onTimer_ = std::move(handler);
    Sync();
}

void TTimer::SyncAll() {
    for (TTimer* timer : Timers()) timer->Sync();
}

void TTimer::Sync() {
    const bool run = enabled_ && interval_ > 0 && onTimer_;
    if (!timer_) {
        QCoreApplication* app = QCoreApplication::instance();
        if (!run || !app) return;
        timer_ = new QTimer(app);
        QObject::connect(timer_, &QTimer::timeout, [this] { Fire(); });
        // The application object deletes its children when it goes.
        QObject::connect(timer_, &QObject::destroyed, [this] { timer_ = nullptr; });
    }
    const int interval = static_cast<int>(std::min<unsigned>(interval_, INT_MAX));
    if (!run) {
        timer_->stop();
    } else if (!timer_->isActive() || timer_->interval() != interval) {
        timer_->start(interval);
    }
}

void TTimer::Fire() {
    // A copy, so that the handler may replace itself while it runs.
    const std::function<void()> handler = onTimer_;
    if (!handler) return;
    try {
        handler();
    } catch (const std::exception& e) {
        MessageBox(e.what(), ApplicationTitle(), MB_OK | MB_ICONERROR);
    }
}
