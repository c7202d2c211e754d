// CThread: an OS thread running Init, then Run when Init succeeded, then Exit in every case.
// A CDesignError or CRuntimeError escaping Init or Run is printed to standard output and ends
// the thread normally; other exceptions are not caught. Start and Join are called by the owner's
// thread; Run, Init and Exit run on the new thread.
#pragma once

#include <atomic>
#include <thread>

namespace quorex {

class CThread {
public:
    CThread() = default;
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;
    // Joins a thread that is still running: derived classes must stop and join in their own
    // destructor, because Run may use members that are gone by the time this one runs.
    virtual ~CThread();

    // Creates the thread; false when the system refused it.
    virtual bool Start();
    // Waits for the thread to finish; does nothing when it was never started or already joined.
    void Join();
    // The ID stored by the thread routine; default-constructed until the thread runs.
    std::thread::id GetThreadId() const { return m_threadId.load(std::memory_order_acquire); }
    bool IsCurrentThread() const { return std::this_thread::get_id() == GetThreadId(); }

protected:
    virtual void Run() = 0;
    virtual bool Init() { return true; }
    virtual void Exit() {}

private:
    void Routine();

    std::thread m_thread;
    std::atomic<std::thread::id> m_threadId{};
};

}  // namespace quorex
