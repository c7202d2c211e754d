// CPacedSequence: requests sent in a loop at a fixed pace (cancels every 50 ms, batch orders and
// pre-order sends every 100 ms, deletions of pre-orders every 50 ms). The first step runs at once,
// each further step one interval after the one before, and the closing step one interval after
// the last, as if the window slept between the steps; but the steps run from the event loop, so
// the window keeps painting and the exchange's answers keep arriving meanwhile. What a command
// does is decided when it is given: the steps work on what was chosen then. A command given while
// another is still running waits behind it.
//
// Thread contract: user interface thread only. Ownership: owns the steps not yet run; the
// pending ones are dropped with it.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <vector>

#include "client/shell/Timers.h"

namespace kvt {

class CPacedSequence {
public:
    using Step = std::function<void()>;

    explicit CPacedSequence(CTimers& timers) : m_timers(timers) {}
    ~CPacedSequence();
    CPacedSequence(const CPacedSequence&) = delete;
    CPacedSequence& operator=(const CPacedSequence&) = delete;

    // Steps one interval apart; done (if any) one interval after the last step, or at once when
    // there are no steps.
    void Run(std::vector<Step> steps, std::chrono::milliseconds interval, Step done = {});
    bool IsRunning() const { return m_timer != 0 || m_running; }

private:
    struct CItem {
        Step step;
        std::chrono::milliseconds pauseAfter;
    };
    void RunNext();

    CTimers& m_timers;
    std::deque<CItem> m_items;
    CTimers::TimerId m_timer = 0;
    bool m_running = false;
};

}  // namespace kvt
