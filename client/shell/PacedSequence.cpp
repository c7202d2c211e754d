// CPacedSequence: a queue of steps, each followed by its pause on a timer.
#include "client/shell/PacedSequence.h"

namespace kvt {

CPacedSequence::~CPacedSequence() { m_timers.Cancel(m_timer); }

void CPacedSequence::Run(std::vector<Step> steps, std::chrono::milliseconds interval, Step done) {
    for (Step& step : steps) m_items.push_back({std::move(step), interval});
    if (done) m_items.push_back({std::move(done), std::chrono::milliseconds(0)});
    if (!IsRunning()) RunNext();
}

void CPacedSequence::RunNext() {
    m_timer = 0;
    // Steps without a pause (the closing ones) run back to back.
    while (!m_items.empty()) {
        CItem item = std::move(m_items.front());
        m_items.pop_front();
        m_running = true;
        item.step();
        m_running = false;
        if (item.pauseAfter.count() > 0) {
            m_timer = m_timers.After(item.pauseAfter, [this] { RunNext(); });
            return;
        }
    }
}

}  // namespace kvt
