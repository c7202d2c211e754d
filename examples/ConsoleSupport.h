// Shared by the console examples: waiting on the reactor thread's callbacks from the main thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// A flag the reactor thread raises and the main thread waits for.
class CReadySignal {
public:
    void Set(bool succeeded) {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_succeeded = succeeded;
        m_changed.notify_all();
    }
    // True when Set(true) came within the limit.
    bool Wait(std::chrono::seconds limit) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return m_done; }) && m_succeeded;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_done = false;
    bool m_succeeded = false;
};
