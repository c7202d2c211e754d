// CTimers: the timers and pauses of the client's windows (the clock, the auto-login, the paced
// request sequences, the wait after a logout). The desktop runs them on the event loop of the user
// interface thread; tests advance a manual clock, so no test waits for real time.
//
// Thread contract: user interface thread only; tasks run on it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace kvt {

class CTimers {
public:
    using TimerId = std::uint64_t;
    using Task = std::function<void()>;

    virtual ~CTimers() = default;
    // Runs the task once, after the delay, from the event loop. Ids are never 0.
    virtual TimerId After(std::chrono::milliseconds delay, Task task) = 0;
    // A timer that has run or was cancelled already is ignored; so is 0.
    virtual void Cancel(TimerId id) = 0;
    // Blocks the calling thread for the pause, without serving events.
    virtual void Pause(std::chrono::milliseconds pause) = 0;
};

}  // namespace kvt
