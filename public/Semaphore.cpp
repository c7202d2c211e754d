#include "public/Semaphore.h"

namespace quorex {

bool CSemaphore::Wait() {
    std::unique_lock lock(m_mutex);
    m_available.wait(lock, [this] { return m_count > 0 || m_closed; });
    if (m_closed) return false;
    --m_count;
    return true;
}

bool CSemaphore::Post() {
    // Notified under the lock: a waiter that wakes up may destroy the semaphore at once.
    std::lock_guard lock(m_mutex);
    if (m_closed || m_count >= m_max) return false;
    ++m_count;
    m_available.notify_one();
    return true;
}

void CSemaphore::Close() {
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_available.notify_all();
}

}  // namespace quorex
