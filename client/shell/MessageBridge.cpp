// CMessageBridge: the hand-off of work and window messages to the user interface thread.
#include "client/shell/MessageBridge.h"

namespace kvt {
namespace {

// One window message as work for Call.
class CMessageCall final : public CBridgeCall {
public:
    CMessageCall(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam)
        : m_window(window), m_message(message), m_wParam(wParam), m_lParam(lParam) {}
    void Run(const CMessageBridge&) override {
        if (CMessageTarget* target = m_window.Get()) target->OnMessage(m_message, m_wParam, m_lParam);
    }

private:
    const CWindowRef& m_window;
    unsigned m_message;
    WParam m_wParam;
    LParam m_lParam;
};

}  // namespace

CMessageBridge::CMessageBridge(CBridgeWakeup& wakeup)
    : m_wakeup(wakeup), m_uiThread(std::this_thread::get_id()) {}

CMessageBridge::~CMessageBridge() {
    Stop();
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [this] { return m_callersInside == 0; });
}

void CMessageBridge::Send(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam) {
    if (!window.IsSet()) return;
    CMessageCall call(window, message, wParam, lParam);
    Call(call);
}

bool CMessageBridge::Call(CBridgeCall& work) {
    if (IsUserInterfaceThread()) {
        if (IsStopped()) return false;
        work.Run(*this);
        return !IsStopped();
    }
    CWaitingCall waiting{work};
    std::unique_lock lock(m_mutex);
    if (IsStopped()) return false;
    if (m_lastWaiting == nullptr) {
        m_firstWaiting = &waiting;
    } else {
        m_lastWaiting->next = &waiting;
    }
    m_lastWaiting = &waiting;
    ++m_callersInside;
    WakeOnce();
    m_finished.wait(lock, [&waiting] { return waiting.finished; });
    // The destructor may be waiting for the last caller to leave.
    if (--m_callersInside == 0 && IsStopped()) m_finished.notify_all();
    return !IsStopped();
}

bool CMessageBridge::Post(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam) {
    std::lock_guard lock(m_mutex);
    if (IsStopped()) return false;
    m_posted.push_back({&window, message, wParam, lParam});
    WakeOnce();
    return true;
}

void CMessageBridge::WakeOnce() {
    if (m_wakePending) return;
    m_wakePending = true;
    m_wakeup.Wake();
}

void CMessageBridge::Deliver() {
    std::unique_lock lock(m_mutex);
    // From here on a new message wakes the thread again; the ones already there are handled now.
    m_wakePending = false;
    std::size_t postedNow = m_posted.size();
    for (;;) {
        if (IsStopped()) return;
        if (CWaitingCall* waiting = PopWaitingCall()) {
            lock.unlock();
            waiting->work.Run(*this);
            lock.lock();
            // After this the caller may return and its node is gone: no access past this point.
            waiting->finished = true;
            m_finished.notify_all();
        } else if (postedNow > 0 && !m_posted.empty()) {
            const CMessage posted = m_posted.front();
            m_posted.pop_front();
            --postedNow;
            lock.unlock();
            Dispatch(posted);
            lock.lock();
        } else {
            break;
        }
    }
    if (!m_posted.empty()) WakeOnce();
}

void CMessageBridge::Stop() {
    std::lock_guard lock(m_mutex);
    m_stopped.store(true, std::memory_order_release);
    while (CWaitingCall* waiting = PopWaitingCall()) waiting->finished = true;
    m_posted.clear();
    m_finished.notify_all();
}

void CMessageBridge::Dispatch(const CMessage& message) {
    if (CMessageTarget* target = message.window->Get()) {
        target->OnMessage(message.message, message.wParam, message.lParam);
    }
}

CMessageBridge::CWaitingCall* CMessageBridge::PopWaitingCall() {
    CWaitingCall* waiting = m_firstWaiting;
    if (waiting != nullptr) {
        m_firstWaiting = waiting->next;
        if (m_firstWaiting == nullptr) m_lastWaiting = nullptr;
    }
    return waiting;
}

}  // namespace kvt
