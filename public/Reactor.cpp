#include "public/Reactor.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <climits>

namespace quorex {
namespace {

// Without an eventfd (descriptors exhausted) nothing can interrupt the wait, so the loop falls
// back to waking up at this interval to look at its queue.
constexpr int kWakeupFallbackMs = 1;

// Event code of the synchronous call that adopts a session on the reactor thread.
constexpr int kAdoptSession = 1;

constexpr short kReadable = POLLIN | POLLHUP | POLLERR;
constexpr short kWritable = POLLOUT | POLLERR;

}  // namespace

CReactor::CReactor(const CClock& clock)
    : m_clock(clock), m_clockMs(clock.NowMilliseconds()), m_wakeupFd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

CReactor::~CReactor() {
    Stop();
    // The sessions' layers cancel their timers and events here, so the queues must still exist.
    m_sessions.clear();
    m_removed.clear();
    if (m_wakeupFd >= 0) ::close(m_wakeupFd);
}

bool CReactor::Start() {
    m_state.store(LoopState::kRunning, std::memory_order_release);
    if (CThread::Start()) return true;
    m_state.store(LoopState::kNotStarted, std::memory_order_release);
    return false;
}

void CReactor::Stop() {
    m_running.store(false, std::memory_order_release);
    Wakeup();
    Join();
}

void CReactor::Wakeup() {
    if (m_wakeupFd < 0 || m_wakeupPending.exchange(true, std::memory_order_acq_rel)) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wakeupFd, &one, sizeof one);
}

bool CReactor::OwnsReactorWork() const {
    return IsCurrentThread() || m_state.load(std::memory_order_acquire) != LoopState::kRunning;
}

void CReactor::Run() {
    while (m_running.load(std::memory_order_acquire)) RunPass();
}

void CReactor::Exit() {
    m_state.store(LoopState::kEnded, std::memory_order_release);
    m_events.Close();
}

void CReactor::RunPass() {
    if (m_compactionNeeded) Compact();
    CollectSockets();
    WaitForReadiness();
    RefreshClock();
    if (m_readyCount > 0) DispatchReadiness();
    m_timers.Fire(GetClockMilliseconds());
    DrainEvents();
}

void CReactor::Compact() {
    std::erase(m_sessions, nullptr);
    m_removed.clear();
    m_compactionNeeded = false;
}

int CReactor::AddPollSocket(int socket, short events) {
    m_pollSet.push_back(pollfd{socket, events, 0});
    return static_cast<int>(m_pollSet.size()) - 1;
}

void CReactor::CollectSockets() {
    m_pollSet.clear();
    if (m_wakeupFd >= 0) AddPollSocket(m_wakeupFd, POLLIN);
    m_watches.assign(m_sessions.size(), Watch{});
    for (std::size_t i = 0; i < m_sessions.size(); ++i) {
        if (m_sessions[i] == nullptr) continue;
        int readSocket = -1;
        int writeSocket = -1;
        m_sessions[i]->GetSocketsToWatch(readSocket, writeSocket);
        Watch& watch = m_watches[i];
        if (readSocket >= 0) watch.readSlot = AddPollSocket(readSocket, POLLIN);
        if (writeSocket >= 0 && writeSocket == readSocket) {
            watch.writeSlot = watch.readSlot;
            m_pollSet.back().events |= POLLOUT;
        } else if (writeSocket >= 0) {
            watch.writeSlot = AddPollSocket(writeSocket, POLLOUT);
        }
    }
}

int CReactor::PollTimeout() const {
    int timeout = -1;
    if (const auto due = m_timers.NextDue()) {
        const std::int64_t wait = std::max<std::int64_t>(*due - m_clock.NowMilliseconds(), 0);
        timeout = static_cast<int>(std::min<std::int64_t>(wait, INT_MAX));
    }
    if (m_wakeupFd < 0 && (timeout < 0 || timeout > kWakeupFallbackMs)) timeout = kWakeupFallbackMs;
    return timeout;
}

void CReactor::WaitForReadiness() {
    const int timeout = m_running.load(std::memory_order_acquire) ? PollTimeout() : 0;
    const int ready = ::poll(m_pollSet.data(), m_pollSet.size(), timeout);
    // An interrupted or failed wait counts as nothing being ready.
    m_readyCount = std::max(ready, 0);
    if (m_wakeupFd >= 0 && m_readyCount > 0 && (m_pollSet[0].revents & POLLIN) != 0) {
        --m_readyCount;
        // Drain the counter first, then clear the flag: a Wakeup that saw the flag still set has
        // queued its work before this point, so this pass takes it; any later Wakeup writes again.
        std::uint64_t count;
        [[maybe_unused]] const ssize_t got = ::read(m_wakeupFd, &count, sizeof count);
        m_wakeupPending.store(false, std::memory_order_release);
    }
}

void CReactor::RefreshClock() { m_clockMs.store(m_clock.NowMilliseconds(), std::memory_order_relaxed); }

short CReactor::ReadyEvents(int slot) const {
    return slot < 0 ? short{0} : m_pollSet[static_cast<std::size_t>(slot)].revents;
}

void CReactor::DispatchReadiness() {
    for (std::size_t i = 0; i < m_watches.size(); ++i) {
        const Watch& watch = m_watches[i];
        if (m_sessions[i] != nullptr && (ReadyEvents(watch.readSlot) & kReadable) != 0) m_sessions[i]->OnReadable();
        if (m_sessions[i] != nullptr && (ReadyEvents(watch.writeSlot) & kWritable) != 0) m_sessions[i]->OnWritable();
    }
}

void CReactor::DrainEvents() {
    CEventQueue::Batch batch = m_events.Snapshot();
    TEventEntry entry;
    TSyncCall* call = nullptr;
    while (m_events.Take(batch, entry, call)) {
        const int result = entry.target != nullptr ? entry.target->HandleEvent(entry.code, entry.param, entry.data) : 0;
        if (call != nullptr) m_events.Complete(*call, result);
    }
}

bool CReactor::AddSession(std::unique_ptr<CReactorSession> session) {
    if (session == nullptr || m_state.load(std::memory_order_acquire) == LoopState::kEnded) return false;
    SyncCall(&m_adopter, kAdoptSession, 0, &session);
    return session == nullptr;  // moved into the session array when the adopter ran
}

int CReactor::CAdopter::HandleEvent(int code, int, void* data) {
    if (code != kAdoptSession) return 0;
    m_reactor.Adopt(std::move(*static_cast<std::unique_ptr<CReactorSession>*>(data)));
    return 0;
}

void CReactor::Adopt(std::unique_ptr<CReactorSession> session) {
    CReactorSession* adopted = session.get();
    m_sessions.push_back(std::move(session));
    adopted->OnAttach();
}

void CReactor::RemoveSession(CReactorSession* session) {
    assert(OwnsReactorWork());
    const auto entry = std::find_if(m_sessions.begin(), m_sessions.end(),
                                    [session](const auto& registered) { return registered.get() == session; });
    if (entry == m_sessions.end()) return;
    m_removed.push_back(std::move(*entry));
    m_compactionNeeded = true;
}

void CReactor::AddTimer(CTimerTarget* target, int id, int seconds) {
    assert(OwnsReactorWork());
    m_timers.Add(target, id, static_cast<std::int64_t>(seconds) * 1000, GetClockMilliseconds());
}

void CReactor::RemoveTimers(const CTimerTarget* target, int id) {
    assert(OwnsReactorWork());
    m_timers.Remove(target, id);
}

bool CReactor::PostEvent(CEventTarget* target, int code, int param, void* data) {
    if (!m_events.Post(TEventEntry{target, code, param, data})) return false;
    Wakeup();
    return true;
}

int CReactor::SyncCall(CEventTarget* target, int code, int param, void* data) {
    // The thread ID is compared only while the loop runs: once the thread has ended, a new thread
    // may be given the same ID.
    const LoopState state = m_state.load(std::memory_order_acquire);
    if (state == LoopState::kEnded) return CEventQueue::kCallRefused;
    if (state == LoopState::kNotStarted || IsCurrentThread()) {
        return target != nullptr ? target->HandleEvent(code, param, data) : 0;
    }
    TSyncCall call;
    call.entry = TEventEntry{target, code, param, data};
    return m_events.Call(call, [this] { Wakeup(); });
}

void CReactor::RemoveEvents(const CEventTarget* target) { m_events.RemoveTarget(target); }

}  // namespace quorex
