// CReactor: the one thread that does all network work of an API object. Each pass of its loop
//   1. compacts the session array when a session was removed,
//   2. asks every session for its sockets to watch (sessions poll their protocol stacks here, so
//      packages queued by user threads are framed now),
//   3. waits for readiness of those sockets, for a wake-up, or until the next timer is due,
//   4. refreshes its clocks,
//   5. for every session by index, skipping removed ones: on-readable when its read socket is
//      readable, then on-writable when it still exists and its write socket is writable,
//   6. fires due timers in due order,
//   7. runs the synchronous calls that were pending, in order, then the posted events.
// The wait never spins: it blocks in poll(2) on the watched sockets plus an eventfd that Wakeup
// signals, with a time-out taken from the next due timer (none: no time-out).
//
// Time comes from the CClock given at construction, so tests drive timers with CManualClock:
// advance it, then call Wakeup.
//
// Ownership: the reactor owns the sessions added to it. A session removed during a pass is kept
// until the compaction of the next pass, so the call that removed it can still return through it;
// sessions still registered are destroyed with the reactor, after its thread has ended.
//
// Thread contract: Wakeup, PostEvent, SyncCall, RemoveEvents and AddSession may be called from any
// thread. Everything else (sessions, timers) belongs to the reactor thread; before Start and after
// the loop has ended, the owner's thread stands in for it. Start, Stop and destruction belong to
// the owner.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include <poll.h>

#include "public/Clock.h"
#include "public/EventQueue.h"
#include "public/Thread.h"
#include "public/TimerQueue.h"

namespace quorex {

// A connection registered with the reactor. All operations run on the reactor thread.
class CReactorSession {
public:
    virtual ~CReactorSession() = default;
    // Called once, when the reactor adopts the session: the place to start timers.
    virtual void OnAttach() {}
    // The sockets to watch in this pass; -1 for none.
    virtual void GetSocketsToWatch(int& readSocket, int& writeSocket) = 0;
    virtual void OnReadable() = 0;
    virtual void OnWritable() = 0;
};

class CReactor : public CThread {
public:
    static constexpr int kAllTimers = CTimerQueue::kAllTimers;

    explicit CReactor(const CClock& clock = CSteadyClock::Instance());
    // Stops the loop and joins the thread, then destroys the sessions still registered.
    ~CReactor() override;

    bool Start() override;
    // Ends the loop after its current pass and waits for the thread; the stop flag, a wake-up and
    // a join. Synchronous calls still pending are refused with CEventQueue::kCallRefused.
    void Stop();
    // Makes the loop run a pass now, e.g. after a user thread queued a package for a handler to
    // send. Cheap when a wake-up is already pending.
    void Wakeup();

    // Takes ownership of a session; the reactor adopts it (OnAttach) on its thread before the next
    // pass asks for sockets. False, and the session is destroyed, once the loop has ended.
    bool AddSession(std::unique_ptr<CReactorSession> session);
    // Removes a session: its entry is set to none and the array is compacted in the next pass.
    void RemoveSession(CReactorSession* session);

    // A periodic timer: target->OnTimer(id) every seconds seconds, first after one interval.
    void AddTimer(CTimerTarget* target, int id, int seconds);
    void RemoveTimers(const CTimerTarget* target, int id = kAllTimers);

    // Queues an event for target (none: the reactor's own handler, which ignores it); false when
    // the ring is full and the event is lost.
    bool PostEvent(CEventTarget* target, int code, int param, void* data);
    // Runs target->HandleEvent(code, param, data) on the reactor thread and returns its result.
    // On the reactor thread (or while the loop has not been started) the call runs at once;
    // otherwise the caller blocks until the loop has run it. A target removed meanwhile yields 0;
    // a loop that has ended yields CEventQueue::kCallRefused.
    int SyncCall(CEventTarget* target, int code, int param, void* data);
    // Sets the target of every pending event and call for target to none.
    void RemoveEvents(const CEventTarget* target);

    // The clocks as refreshed in step 4 of the current pass.
    std::int64_t GetClockSeconds() const { return GetClockMilliseconds() / 1000; }
    std::int64_t GetClockMilliseconds() const { return m_clockMs.load(std::memory_order_relaxed); }
    const CClock& GetClock() const { return m_clock; }
    // True on the reactor thread, and on any thread while the loop is not running (the owner's
    // thread stands in for it then).
    bool OwnsReactorWork() const;
    std::size_t GetSessionCount() const { return m_sessions.size(); }

protected:
    void Run() override;
    void Exit() override;

private:
    enum class LoopState { kNotStarted, kRunning, kEnded };
    // Where a session's sockets sit in the poll set of the current pass.
    struct Watch {
        int readSlot = -1;
        int writeSlot = -1;
    };
    // Adopts sessions handed over by other threads; a synchronous call to this target runs the
    // adoption on the reactor thread.
    class CAdopter : public CEventTarget {
    public:
        explicit CAdopter(CReactor& reactor) : m_reactor(reactor) {}
        int HandleEvent(int code, int param, void* data) override;

    private:
        CReactor& m_reactor;
    };

    void RunPass();
    void Compact();
    void CollectSockets();
    int AddPollSocket(int socket, short events);
    void WaitForReadiness();
    void RefreshClock();
    short ReadyEvents(int slot) const;
    void DispatchReadiness();
    void DrainEvents();
    int PollTimeout() const;
    void Adopt(std::unique_ptr<CReactorSession> session);

    const CClock& m_clock;
    std::atomic<std::int64_t> m_clockMs;
    std::atomic<bool> m_running{true};
    std::atomic<LoopState> m_state{LoopState::kNotStarted};
    std::atomic<bool> m_wakeupPending{false};
    int m_wakeupFd = -1;

    std::vector<std::unique_ptr<CReactorSession>> m_sessions;
    std::vector<std::unique_ptr<CReactorSession>> m_removed;
    bool m_compactionNeeded = false;
    std::vector<pollfd> m_pollSet;
    std::vector<Watch> m_watches;
    int m_readyCount = 0;

    CTimerQueue m_timers;
    CEventQueue m_events;
    CAdopter m_adopter{*this};
};

}  // namespace quorex
