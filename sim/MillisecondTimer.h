// CMillisecondTimer: a timer with millisecond resolution for the reactor, whose own timers count
// whole seconds: a timerfd registered as a reactor session, so the reactor's wait ends when it
// fires and the callback runs on the reactor thread. It follows the machine's monotonic clock.
//
// Ownership: the reactor owns it once added; the callback's captures must outlive it.
// Thread contract: Arm, Disarm and the callback run on the reactor thread (or before the timer is
// added to a reactor).
#pragma once

#include <functional>

#include "public/Reactor.h"

namespace quorex::sim {

class CMillisecondTimer final : public CReactorSession {
public:
    // Throws CRuntimeError when the system has no timer to give.
    explicit CMillisecondTimer(std::function<void()> onFire);
    ~CMillisecondTimer() override;
    CMillisecondTimer(const CMillisecondTimer&) = delete;
    CMillisecondTimer& operator=(const CMillisecondTimer&) = delete;

    // Fires once after delayMs (at least 1), then every periodMs when periodMs > 0.
    void Arm(int delayMs, int periodMs = 0);
    void Disarm();

    void GetSocketsToWatch(int& readSocket, int& writeSocket) override;
    void OnReadable() override;
    void OnWritable() override {}

private:
    int m_fd;
    std::function<void()> m_onFire;
};

}  // namespace quorex::sim
