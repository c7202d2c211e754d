// CMessageBridge: the hand-off of window messages to the user interface thread.
#include "client/shell/MessageBridge.h"

namespace kvt {

CMessageBridge::CMessageBridge(CBridgeWakeup& wakeup)
    : m_wakeup(wakeup), m_uiThread(std::this_thread::get_id()) {}

CMessageBridge::~CMessageBridge() {
    Stop();
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [this] { return m_sendersInside == 0; });
}

void CMessageBridge::Send(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam) {
    const CWindowRef* const windows[] = {&window};
    SendEach(windows, message, wParam, lParam);
}

void CMessageBridge::SendEach(std::span<const CWindowRef* const> windows, unsigned message, WParam wParam,
                              LParam lParam) {
    bool anyRegistered = false;
    for (const CWindowRef* window : windows) anyRegistered = anyRegistered || window->IsSet();
    if (!anyRegistered) return;
    if (IsUserInterfaceThread()) {
        DispatchEach(windows, message, wParam, lParam);
        return;
    }
    CWaitingSend waiting{windows, message, wParam, lParam};
    std::unique_lock lock(m_mutex);
    if (m_stopped) return;
    if (m_lastWaiting == nullptr) {
        m_firstWaiting = &waiting;
    } else {
        m_lastWaiting->next = &waiting;
    }
    m_lastWaiting = &waiting;
    ++m_sendersInside;
    m_wakeup.Wake();
    m_finished.wait(lock, [&waiting] { return waiting.finished; });
    // The destructor may be waiting for the last sender to leave.
    if (--m_sendersInside == 0 && m_stopped) m_finished.notify_all();
}

bool CMessageBridge::Post(const CWindowRef& window, unsigned message, WParam wParam, LParam lParam) {
    std::lock_guard lock(m_mutex);
    if (m_stopped) return false;
    m_posted.push_back({&window, message, wParam, lParam});
    m_wakeup.Wake();
    return true;
}

void CMessageBridge::Deliver() {
    std::unique_lock lock(m_mutex);
    std::size_t postedNow = m_posted.size();
    for (;;) {
        if (m_stopped) return;
        if (CWaitingSend* waiting = PopWaitingSend()) {
            lock.unlock();
            DispatchEach(waiting->windows, waiting->message, waiting->wParam, waiting->lParam);
            lock.lock();
            // After this the sender may return and its node is gone: no access past this point.
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
    if (!m_posted.empty()) m_wakeup.Wake();
}

void CMessageBridge::Stop() {
    std::lock_guard lock(m_mutex);
    m_stopped = true;
    while (CWaitingSend* waiting = PopWaitingSend()) waiting->finished = true;
    m_posted.clear();
    m_finished.notify_all();
}

bool CMessageBridge::IsStopped() const {
    std::lock_guard lock(m_mutex);
    return m_stopped;
}

void CMessageBridge::Dispatch(const CMessage& message) {
    if (CMessageTarget* target = message.window->Get()) {
        target->OnMessage(message.message, message.wParam, message.lParam);
    }
}

void CMessageBridge::DispatchEach(std::span<const CWindowRef* const> windows, unsigned message, WParam wParam,
                                  LParam lParam) {
    for (const CWindowRef* window : windows) {
        if (IsStopped()) return;
        Dispatch({window, message, wParam, lParam});
    }
}

CMessageBridge::CWaitingSend* CMessageBridge::PopWaitingSend() {
    CWaitingSend* waiting = m_firstWaiting;
    if (waiting != nullptr) {
        m_firstWaiting = waiting->next;
        if (m_firstWaiting == nullptr) m_lastWaiting = nullptr;
    }
    return waiting;
}

}  // namespace kvt
