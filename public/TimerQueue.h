// CTimerQueue: the reactor's periodic timers, ordered by due time; timers with equal due times
// keep the order in which they were (re)inserted.
//
// Thread contract: used only by the reactor thread (or by its owner while the loop does not run).
// Targets are not owned: a target removes its timers before it is destroyed.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace quorex {

// Something a timer can be addressed to; OnTimer runs on the reactor thread.
class CTimerTarget {
public:
    virtual void OnTimer(int id) = 0;
    virtual ~CTimerTarget() = default;
};

class CTimerQueue {
public:
    // Removes every timer of a target rather than one ID.
    static constexpr int kAllTimers = -1;

    // Adds a timer that first comes due at now + interval and then every interval milliseconds
    // (at least 1, so that a timer can never come due again within the pass that fired it).
    void Add(CTimerTarget* target, int id, std::int64_t intervalMs, std::int64_t nowMs);
    // Removes the target's timers with this ID, or all of them with kAllTimers; safe to call from
    // a target's OnTimer, including for the timer being fired.
    void Remove(const CTimerTarget* target, int id);
    // Fires, in due order, every timer due at or before nowMs; each fired timer is due again at
    // nowMs + interval, after the timers already due then.
    void Fire(std::int64_t nowMs);
    // The earliest due time, if any timer is set.
    std::optional<std::int64_t> NextDue() const;
    bool IsEmpty() const { return m_timers.empty(); }

private:
    struct Timer {
        CTimerTarget* target;  // none once removed while being fired
        int id;
        std::int64_t intervalMs;
    };
    using TimerMap = std::multimap<std::int64_t, Timer>;

    TimerMap m_timers;  // keyed by due time; a multimap inserts after equal keys
    TimerMap::iterator m_firing = m_timers.end();
};

}  // namespace quorex
