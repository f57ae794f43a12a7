#pragma once
// TTimer: a thin wrapper over QTimer with the toolkit's members.
#include <functional>
#include <memory>

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
    void Sync();
    std::unique_ptr<QTimer> timer_;  // created lazily: static objects exist before Qt does
    bool enabled_ = false;
    unsigned interval_ = 1000;
    std::function<void()> onTimer_;
};
