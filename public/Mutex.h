// CMutex: one unnamed, initially unowned mutex. Safe to use from any thread; not recursive.
// lock()/unlock() let std::lock_guard and std::unique_lock hold it.
#pragma once

#include <mutex>

namespace quorex {

class CMutex {
public:
    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    std::mutex m_mutex;
};

}  // namespace quorex
