// CEventQueue: the events and synchronous calls waiting for the reactor thread.
//
// Posted events go into a ring of 16 entries (15 usable: the ring is full when advancing the write
// position would reach the read position); a full ring refuses the post and the event is lost.
// Synchronous calls never use the ring: each caller links a record that lives on its own stack
// into a FIFO list and blocks until the reactor thread has run the call, so they cannot be lost.
// One mutex guards the ring and the list and is held only for each list or ring operation; the
// reactor thread runs the targets with the mutex released.
//
// Thread contract: Post, Call, RemoveTarget and Close may be used from any thread; Take and
// Complete only by the thread that drains the queue (the reactor thread).
#pragma once

#include <condition_variable>
#include <cstddef>

#include "public/Mutex.h"

namespace quorex {

// Something events and synchronous calls can be addressed to. HandleEvent runs on the reactor
// thread; its result is handed back to the caller of a synchronous call.
class CEventTarget {
public:
    virtual int HandleEvent(int code, int param, void* data) = 0;
    virtual ~CEventTarget() = default;
};

// One queued event or synchronous call. A target set to none (after the target was destroyed)
// makes the entry do nothing.
struct TEventEntry {
    CEventTarget* target = nullptr;
    int code = 0;
    int param = 0;
    void* data = nullptr;
};

// A synchronous call in flight: owned by the calling thread's stack frame until Complete wakes it.
struct TSyncCall {
    TEventEntry entry;
    TSyncCall* next = nullptr;
    int result = 0;
    bool done = false;
};

class CEventQueue {
public:
    static constexpr std::size_t kRingSize = 16;
    // Result of a synchronous call that the queue refused because its reactor has stopped.
    static constexpr int kCallRefused = -1;

    // Appends an event to the ring; false when the ring is full.
    bool Post(const TEventEntry& entry);
    // Links the call, lets notifyQueued wake the drainer, and blocks until the call has run; the
    // call's result, or kCallRefused when the queue is closed.
    template <class Notify>
    int Call(TSyncCall& call, Notify notifyQueued);
    // Sets the target of every pending event and call addressed to target to none.
    void RemoveTarget(const CEventTarget* target);
    // Refuses later calls and completes the pending ones with kCallRefused.
    void Close();

    // What is pending now: Take hands out exactly these entries and nothing queued after this.
    struct Batch {
        TSyncCall* lastCall = nullptr;  // calls up to and including this one
        bool callsDone = true;
        std::size_t events = 0;         // then this many ring entries
    };
    Batch Snapshot();
    // Takes the next entry of the batch: pending calls first, in the order they were queued, then
    // ring entries in order. Sets call to the call record when the entry is a synchronous call.
    // False when the batch is exhausted.
    bool Take(Batch& batch, TEventEntry& entry, TSyncCall*& call);
    // Stores the result of a call taken from the queue and wakes its caller.
    void Complete(TSyncCall& call, int result);

private:
    void LinkCall(TSyncCall& call);

    CMutex m_mutex;
    std::condition_variable_any m_callDone;
    TEventEntry m_ring[kRingSize];
    std::size_t m_read = 0;
    std::size_t m_write = 0;
    TSyncCall* m_firstCall = nullptr;
    TSyncCall* m_lastCall = nullptr;
    bool m_closed = false;
};

template <class Notify>
int CEventQueue::Call(TSyncCall& call, Notify notifyQueued) {
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return kCallRefused;
        LinkCall(call);
    }
    notifyQueued();
    std::unique_lock lock(m_mutex);
    m_callDone.wait(lock, [&call] { return call.done; });
    return call.result;
}

}  // namespace quorex
