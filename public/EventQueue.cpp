#include "public/EventQueue.h"

namespace quorex {

bool CEventQueue::Post(const TEventEntry& entry) {
    std::lock_guard lock(m_mutex);
    const std::size_t next = (m_write + 1) % kRingSize;
    if (next == m_read) return false;
    m_ring[m_write] = entry;
    m_write = next;
    return true;
}

void CEventQueue::LinkCall(TSyncCall& call) {
    call.next = nullptr;
    call.done = false;
    if (m_lastCall != nullptr) {
        m_lastCall->next = &call;
    } else {
        m_firstCall = &call;
    }
    m_lastCall = &call;
}

void CEventQueue::RemoveTarget(const CEventTarget* target) {
    std::lock_guard lock(m_mutex);
    for (std::size_t i = m_read; i != m_write; i = (i + 1) % kRingSize) {
        if (m_ring[i].target == target) m_ring[i].target = nullptr;
    }
    for (TSyncCall* call = m_firstCall; call != nullptr; call = call->next) {
        if (call->entry.target == target) call->entry.target = nullptr;
    }
}

void CEventQueue::Close() {
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        for (TSyncCall* call = m_firstCall; call != nullptr; call = call->next) {
            call->result = kCallRefused;
            call->done = true;
        }
        m_firstCall = m_lastCall = nullptr;
    }
    m_callDone.notify_all();
}

CEventQueue::Batch CEventQueue::Snapshot() {
    std::lock_guard lock(m_mutex);
    Batch batch;
    batch.lastCall = m_lastCall;
    batch.callsDone = m_lastCall == nullptr;
    batch.events = (m_write + kRingSize - m_read) % kRingSize;
    return batch;
}

bool CEventQueue::Take(Batch& batch, TEventEntry& entry, TSyncCall*& call) {
    std::lock_guard lock(m_mutex);
    if (!batch.callsDone && m_firstCall != nullptr) {
        call = m_firstCall;
        m_firstCall = call->next;
        if (m_firstCall == nullptr) m_lastCall = nullptr;
        batch.callsDone = call == batch.lastCall;
        entry = call->entry;
        return true;
    }
    batch.callsDone = true;
    if (batch.events == 0 || m_read == m_write) return false;
    --batch.events;
    call = nullptr;
    entry = m_ring[m_read];
    m_read = (m_read + 1) % kRingSize;
    return true;
}

void CEventQueue::Complete(TSyncCall& call, int result) {
    {
        std::lock_guard lock(m_mutex);
        call.result = result;
        call.done = true;
    }
    m_callDone.notify_all();
}

}  // namespace quorex
