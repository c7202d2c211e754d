// CMessageBridge: runs work on the user interface thread. Call is synchronous: called on the user
// interface thread it runs the work at once; called on any other thread (the library's reactor
// thread) it queues the work, wakes the user interface thread and blocks until the work has run.
// The exchange's events reach the windows this way, many at a time (CEventBatch). Send is Call
// for one window message. Post is asynchronous: the message is queued and the call returns at once.
// Queued calls run before posted messages, each in the order of arrival.
//
// The target window is looked up in its CWindowRef when the delivery runs, on the user interface
// thread, so a window that unregisters itself never receives a message that was waiting for it.
//
// Stop ends all delivery: waiting senders are released without delivery, posted messages are
// dropped, and later calls deliver nothing. That is what keeps shutdown from deadlocking: the
// object that owns the library's API calls Stop before the library's reactor thread is stopped,
// so a reactor thread blocked in Send returns and can be joined.
//
// Thread contract: the thread that constructs the bridge is its user interface thread. Call, Send,
// Post and Stop may be called from any thread; Deliver runs on the user interface thread only, from its
// event loop after a Wake. Destruction happens on the user interface thread, never from inside a
// delivery, and only after every thread that may still call Send or Post has been told to stop.
// Ownership: CWindowRef objects handed to Send and Post must outlive the delivery or Stop;
// records behind wParam and lParam of a Send, and the work of a Call, stay with the caller, which
// is blocked meanwhile. A Call never allocates.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

#include "client/shell/MessageTarget.h"

namespace kvt {

class CMessageBridge;

// Work that a caller hands to the user interface thread and waits for (CMessageBridge::Call).
class CBridgeCall {
public:
    virtual ~CBridgeCall() = default;
    // Runs on the user interface thread. Work that delivers several things stops as soon as
    // bridge.IsStopped(): nothing is delivered after Stop.
    virtual void Run(const CMessageBridge& bridge) = 0;
};

// How a bridge tells the user interface thread's event loop that Deliver has work. Wake is called
// with the bridge's lock held: it must be short and must not call back into the bridge.
class CBridgeWakeup {
public:
    virtual ~CBridgeWakeup() = default;
    virtual void Wake() = 0;
};

class CMessageBridge {
public:
    explicit CMessageBridge(CBridgeWakeup& wakeup);
    CMessageBridge(const CMessageBridge&) = delete;
    CMessageBridge& operator=(const CMessageBridge&) = delete;
    // Stops, then waits until every released caller has left Call.
    ~CMessageBridge();

    // Runs the work on the user interface thread and returns when it has run; false when the bridge
    // had stopped, or stopped meanwhile.
    bool Call(CBridgeCall& work);
    void Send(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam);
    // False when the bridge has stopped and the message was dropped.
    bool Post(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam);
    // Runs the waiting sends, then the posted messages that were queued when it started (a handler
    // that posts again is served at the next wake-up, so the event loop is never starved).
    void Deliver();
    void Stop();

    bool IsStopped() const { return m_stopped.load(std::memory_order_acquire); }
    // A caller of another thread is blocked in Call, waiting for the next Deliver.
    bool HasWaitingCall() const {
        std::lock_guard lock(m_mutex);
        return m_firstWaiting != nullptr;
    }
    bool IsUserInterfaceThread() const { return std::this_thread::get_id() == m_uiThread; }

private:
    struct CMessage {
        const CWindowRef* window;
        unsigned message;
        WParam wParam;
        LParam lParam;
    };
    // Lives on the blocked caller's stack.
    struct CWaitingCall {
        CBridgeCall& work;
        CWaitingCall* next = nullptr;
        bool finished = false;
    };

    static void Dispatch(const CMessage& message);
    CWaitingCall* PopWaitingCall();
    // Wakes the user interface thread unless a wake-up is already on its way (m_mutex held):
    // a burst of posts costs one wake-up, not one each.
    void WakeOnce();

    CBridgeWakeup& m_wakeup;
    const std::thread::id m_uiThread;
    mutable std::mutex m_mutex;
    std::condition_variable m_finished;
    CWaitingCall* m_firstWaiting = nullptr;
    CWaitingCall* m_lastWaiting = nullptr;
    std::size_t m_callersInside = 0;
    std::deque<CMessage> m_posted;
    bool m_wakePending = false;  // a Wake not yet followed by Deliver
    std::atomic<bool> m_stopped{false};
};

}  // namespace kvt
