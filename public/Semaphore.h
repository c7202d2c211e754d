// CSemaphore: a counting semaphore whose initial and maximum count are both the count given at
// construction. Safe to use from any thread.
#pragma once

#include <condition_variable>
#include <mutex>

namespace quorex {

class CSemaphore {
public:
    explicit CSemaphore(int count) : m_count(count), m_max(count) {}
    CSemaphore(const CSemaphore&) = delete;
    CSemaphore& operator=(const CSemaphore&) = delete;

    // Waits without time-out; true when a unit was taken (false only after Close).
    bool Wait();
    // Releases one unit; false when the count is already at its maximum or the semaphore is closed.
    bool Post();
    // Wakes every waiter with false; later waits fail at once.
    void Close();

private:
    std::mutex m_mutex;
    std::condition_variable m_available;
    int m_count;
    const int m_max;
    bool m_closed = false;
};

}  // namespace quorex
