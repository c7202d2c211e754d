// CMessageBridge: delivers window messages on the user interface thread. Send is synchronous:
// called on the user interface thread it calls the window directly; called on any other thread
// (the library's reactor thread) it queues the message, wakes the user interface thread and blocks
// until the window has handled it. SendEach does the same for several windows, one after the other
// in the order given, each to completion, with one hand-off between the threads for all of them. Post is asynchronous: the message is queued and the call
// returns at once. Queued sends run before posted messages, each in the order of arrival.
//
// The target window is looked up in its CWindowRef when the delivery runs, on the user interface
// thread, so a window that unregisters itself never receives a message that was waiting for it.
//
// Stop ends all delivery: waiting senders are released without delivery, posted messages are
// dropped, and later calls deliver nothing. That is what keeps shutdown from deadlocking: the
// object that owns the library's API calls Stop before the library's reactor thread is stopped,
// so a reactor thread blocked in Send returns and can be joined.
//
// Thread contract: the thread that constructs the bridge is its user interface thread. Send, Post
// and Stop may be called from any thread; Deliver runs on the user interface thread only, from its
// event loop after a Wake. Destruction happens on the user interface thread, never from inside a
// delivery, and only after every thread that may still call Send or Post has been told to stop.
// Ownership: CWindowRef objects handed to Send and Post must outlive the delivery or Stop;
// records behind wParam and lParam of a Send stay with the sender, which is blocked meanwhile.
// A Send never allocates.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <span>
#include <thread>

#include "client/shell/MessageTarget.h"

namespace kvt {

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
    // Stops, then waits until every released sender has left Send.
    ~CMessageBridge();

    void Send(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam);
    void SendEach(std::span<const CWindowRef* const> windows, unsigned message, WParam wParam, LParam lParam);
    // False when the bridge has stopped and the message was dropped.
    bool Post(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam);
    // Runs the waiting sends, then the posted messages that were queued when it started (a handler
    // that posts again is served at the next wake-up, so the event loop is never starved).
    void Deliver();
    void Stop();

    bool IsStopped() const;
    bool IsUserInterfaceThread() const { return std::this_thread::get_id() == m_uiThread; }

private:
    struct CMessage {
        const CWindowRef* window;
        unsigned message;
        WParam wParam;
        LParam lParam;
    };
    // Lives on the blocked sender's stack.
    struct CWaitingSend {
        std::span<const CWindowRef* const> windows;
        unsigned message;
        WParam wParam;
        LParam lParam;
        CWaitingSend* next = nullptr;
        bool finished = false;
    };

    static void Dispatch(const CMessage& message);
    // Each window in turn, as long as the bridge runs.
    void DispatchEach(std::span<const CWindowRef* const> windows, unsigned message, WParam wParam, LParam lParam);
    CWaitingSend* PopWaitingSend();

    CBridgeWakeup& m_wakeup;
    const std::thread::id m_uiThread;
    mutable std::mutex m_mutex;
    std::condition_variable m_finished;
    CWaitingSend* m_firstWaiting = nullptr;
    CWaitingSend* m_lastWaiting = nullptr;
    std::size_t m_sendersInside = 0;
    std::deque<CMessage> m_posted;
    bool m_stopped = false;
};

}  // namespace kvt
