// CClock: the time source of the reactor and the TCP client, injectable so that tests can drive
// heartbeats, timers and time-outs in milliseconds. NowMilliseconds may be called from any thread.
#pragma once

#include <atomic>
#include <cstdint>

namespace quorex {

class CClock {
public:
    virtual ~CClock() = default;
    // A monotonic count of milliseconds; only differences mean anything.
    virtual std::int64_t NowMilliseconds() const = 0;
};

// The operating system's monotonic clock.
class CSteadyClock final : public CClock {
public:
    std::int64_t NowMilliseconds() const override;
    static CSteadyClock& Instance();
};

// A clock that only moves when told to; for tests and simulations.
class CManualClock final : public CClock {
public:
    explicit CManualClock(std::int64_t start = 0) : m_now(start) {}
    std::int64_t NowMilliseconds() const override { return m_now.load(std::memory_order_acquire); }
    void Advance(std::int64_t milliseconds) { m_now.fetch_add(milliseconds, std::memory_order_acq_rel); }

private:
    std::atomic<std::int64_t> m_now;
};

}  // namespace quorex
