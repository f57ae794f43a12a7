#pragma once
// TTimer: a thin wrapper over QTimer with the toolkit's members.
//
// A TTimer may be constructed before the QCoreApplication exists (static objects): the
// QTimer is created only when the timer should run and an application object exists.
// The timer runs while it is enabled, its interval is above 0 and a handler is set, as
// the toolkit's timer does. A timer enabled before the application object exists starts
// when the application object is constructed; when the application object is destroyed
// the timer stops, and it starts again with the next application object. The handler
// may disable or re-enable the timer, change its interval or replace the handler. An
// exception leaving the handler is shown in a message box instead of reaching the
// event loop.
#include <functional>

class QTimer;

class TTimer {
public:
    TTimer();  // disabled, interval 1000 ms, no handler
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    bool Enabled() const;
    void SetEnabled(bool enabled);
    unsigned Interval() const;
    void SetInterval(unsigned milliseconds);
    void SetOnTimer(std::function<void()> handler);

private:
    static void SyncAll();
    void Sync();
    void Fire();
    QTimer* timer_ = nullptr;  // a child of the application object, created lazily
    bool enabled_ = false;
    unsigned interval_ = 1000;
    std::function<void()> onTimer_;
};
