#include "public/TimerQueue.h"

#include <algorithm>

namespace quorex {

void CTimerQueue::Add(CTimerTarget* target, int id, std::int64_t intervalMs, std::int64_t nowMs) {
    const std::int64_t interval = std::max<std::int64_t>(intervalMs, 1);
    m_timers.emplace(nowMs + interval, Timer{target, id, interval});
}

void CTimerQueue::Remove(const CTimerTarget* target, int id) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        Timer& timer = it->second;
        if (timer.target != target || (id != kAllTimers && timer.id != id)) {
            ++it;
        } else if (it == m_firing) {
            timer.target = nullptr;  // Fire drops it when OnTimer returns
            ++it;
        } else {
            it = m_timers.erase(it);
        }
    }
}

void CTimerQueue::Fire(std::int64_t nowMs) {
    while (!m_timers.empty() && m_timers.begin()->first <= nowMs) {
        m_firing = m_timers.begin();
        const Timer timer = m_firing->second;
        if (timer.target != nullptr) timer.target->OnTimer(timer.id);
        auto node = m_timers.extract(m_firing);
        m_firing = m_timers.end();
        if (node.mapped().target == nullptr) continue;
        node.key() = nowMs + node.mapped().intervalMs;
        m_timers.insert(std::move(node));
    }
}

std::optional<std::int64_t> CTimerQueue::NextDue() const {
    if (m_timers.empty()) return std::nullopt;
    return m_timers.begin()->first;
}

}  // namespace quorex
