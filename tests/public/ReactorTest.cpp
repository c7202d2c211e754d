#include <gtest/gtest.h>

#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "public/Reactor.h"
#include "tests/public/ReactorTestSupport.h"

using namespace quorex;
using namespace quorex::test;

namespace {

class CRecordingTimerTarget final : public CTimerTarget {
public:
    explicit CRecordingTimerTarget(std::vector<int>& fired) : m_fired(fired) {}
    void OnTimer(int id) override { m_fired.push_back(id); }

private:
    std::vector<int>& m_fired;
};

// Records the thread and arguments of each event; its result is the parameter doubled.
class CCountingTarget final : public CEventTarget {
public:
    explicit CCountingTarget(const CReactor& reactor) : m_reactor(reactor) {}
    int HandleEvent(int, int param, void*) override {
        calls.fetch_add(1);
        if (!m_reactor.IsCurrentThread()) offThread.fetch_add(1);
        return param * 2;
    }
    std::atomic<int> calls{0};
    std::atomic<int> offThread{0};

private:
    const CReactor& m_reactor;
};

// Reads the CPU time the reactor thread has used, on the reactor thread.
class CThreadCpuProbe final : public CEventTarget {
public:
    int HandleEvent(int, int, void* data) override {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        *static_cast<double*>(data) = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
        return 0;
    }
};

// A session over one end of a socketpair that counts its calls and can remove another session
// when it becomes readable.
class CProbeSession final : public CReactorSession {
public:
    CProbeSession(CReactor& reactor, int socket, bool& destroyed)
        : m_reactor(reactor), m_socket(socket), m_destroyed(destroyed) {}
    ~CProbeSession() override {
        ::close(m_socket);
        m_destroyed = true;
    }
    void OnAttach() override { attachedOnReactor = m_reactor.OwnsReactorWork(); }
    void GetSocketsToWatch(int& readSocket, int&) override { readSocket = m_socket; }
    void OnReadable() override {
        ++readableCalls;
        char sink[256];
        while (::recv(m_socket, sink, sizeof sink, MSG_DONTWAIT) > 0) {
        }
        if (victim != nullptr) {
            m_reactor.RemoveSession(victim);
            sessionsAfterRemoval = m_reactor.GetSessionCount();
            victim = nullptr;
        }
    }
    void OnWritable() override {}

    CReactorSession* victim = nullptr;
    int readableCalls = 0;
    std::size_t sessionsAfterRemoval = 0;
    std::atomic<bool> attachedOnReactor{false};

private:
    CReactor& m_reactor;
    int m_socket;
    bool& m_destroyed;
};

struct SocketPair {
    int local = -1;
    int peer = -1;
    SocketPair() {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, fds) == 0) {
            local = fds[0];
            peer = fds[1];
        }
    }
    ~SocketPair() {
        if (peer >= 0) ::close(peer);
    }
};

}  // namespace

TEST(Reactor, TimersFireInDueOrderAndEqualDueTimesInInsertionOrder) {
    CManualClock clock(1'000'000);
    CReactor reactor(clock);
    std::vector<int> fired;
    CRecordingTimerTarget target(fired);
    // Before Start the owner's thread stands in for the reactor thread.
    reactor.AddTimer(&target, 3, 10);
    reactor.AddTimer(&target, 1, 5);
    reactor.AddTimer(&target, 2, 5);
    ASSERT_TRUE(reactor.Start());

    Settle(reactor);
    EXPECT_TRUE(fired.empty());
    clock.Advance(4'999);
    reactor.Wakeup();
    Settle(reactor);
    EXPECT_TRUE(fired.empty());
    clock.Advance(1);
    Settle(reactor);
    EXPECT_EQ(fired, (std::vector<int>{1, 2}));
    // 1 and 2 were due again at 10 s, behind 3, which was due then from the start.
    clock.Advance(5'000);
    Settle(reactor);
    EXPECT_EQ(fired, (std::vector<int>{1, 2, 3, 1, 2}));
}

TEST(Reactor, TimerRemovedWhileFiringIsDroppedAndOthersRemain) {
    CManualClock clock;
    CReactor reactor(clock);
    std::vector<int> fired;
    struct CSelfCancelling final : CTimerTarget {
        CReactor* reactor;
        std::vector<int>* fired;
        void OnTimer(int id) override {
            fired->push_back(id);
            if (id == 7) reactor->RemoveTimers(this, 7);
        }
    } target;
    target.reactor = &reactor;
    target.fired = &fired;
    reactor.AddTimer(&target, 7, 1);
    reactor.AddTimer(&target, 8, 1);
    ASSERT_TRUE(reactor.Start());
    for (int second = 0; second < 3; ++second) {
        clock.Advance(1'000);
        Settle(reactor);
    }
    EXPECT_EQ(fired, (std::vector<int>{7, 8, 8, 8}));
}

TEST(Reactor, FullRingRefusesTheSixteenthPostUntilOneIsDelivered) {
    CReactor reactor;
    CGateTarget gate;
    ASSERT_TRUE(reactor.Start());
    // Hold the reactor thread inside the first event; the ring is empty again meanwhile.
    ASSERT_TRUE(reactor.PostEvent(&gate, 100, 0, nullptr));
    gate.WaitEntered(1);
    for (int i = 1; i <= 15; ++i) EXPECT_TRUE(reactor.PostEvent(&gate, 100 + i, 0, nullptr)) << i;
    EXPECT_FALSE(reactor.PostEvent(&gate, 116, 0, nullptr));

    gate.Permit();      // event 100 completes; the next pass takes event 101 and waits in it
    gate.WaitEntered(2);
    EXPECT_TRUE(reactor.PostEvent(&gate, 116, 0, nullptr));
    EXPECT_FALSE(reactor.PostEvent(&gate, 117, 0, nullptr));

    gate.Permit(16);
    gate.WaitEntered(17);
    std::vector<int> expected;
    for (int code = 100; code <= 116; ++code) expected.push_back(code);
    EXPECT_EQ(gate.Entered(), expected);
}

TEST(Reactor, EventsForARemovedTargetAreHarmless) {
    CReactor reactor;
    auto doomed = std::make_unique<CCountingTarget>(reactor);
    EXPECT_TRUE(reactor.PostEvent(doomed.get(), 1, 0, nullptr));
    EXPECT_TRUE(reactor.PostEvent(doomed.get(), 2, 0, nullptr));
    reactor.RemoveEvents(doomed.get());
    doomed.reset();
    CCountingTarget survivor(reactor);
    EXPECT_TRUE(reactor.PostEvent(&survivor, 3, 0, nullptr));
    ASSERT_TRUE(reactor.Start());
    Settle(reactor);
    EXPECT_EQ(survivor.calls.load(), 1);
}

TEST(Reactor, SynchronousCallsFromManyThreadsRunOnTheReactorThread) {
    CReactor reactor;
    CCountingTarget target(reactor);
    ASSERT_TRUE(reactor.Start());
    constexpr int kThreads = 4;
    constexpr int kCallsEach = 200;
    std::atomic<int> wrongResults{0};
    std::vector<std::thread> callers;
    for (int t = 0; t < kThreads; ++t) {
        callers.emplace_back([&, t] {
            for (int i = 0; i < kCallsEach; ++i) {
                const int param = t * 1000 + i;
                if (reactor.SyncCall(&target, 1, param, nullptr) != param * 2) wrongResults.fetch_add(1);
            }
        });
    }
    for (auto& caller : callers) caller.join();
    EXPECT_EQ(wrongResults.load(), 0);
    EXPECT_EQ(target.calls.load(), kThreads * kCallsEach);
    EXPECT_EQ(target.offThread.load(), 0);
}

TEST(Reactor, SynchronousCallOnTheReactorThreadRunsAtOnce) {
    CReactor reactor;
    CCountingTarget inner(reactor);
    struct CNested final : CEventTarget {
        CReactor* reactor;
        CCountingTarget* inner;
        int HandleEvent(int, int, void*) override {
            // Queued, this would wait for the pass that is running it: a deadlock.
            const int result = reactor->SyncCall(inner, 1, 21, nullptr);
            return inner->calls.load() == 1 ? result : -1;
        }
    } outer;
    outer.reactor = &reactor;
    outer.inner = &inner;
    ASSERT_TRUE(reactor.Start());
    EXPECT_EQ(reactor.SyncCall(&outer, 1, 0, nullptr), 42);
}

TEST(Reactor, SynchronousCallsAreTakenBeforePostedEvents) {
    CEventQueue queue;
    CNoopTarget target;
    ASSERT_TRUE(queue.Post(TEventEntry{&target, 1, 0, nullptr}));
    std::atomic<bool> linked{false};
    TSyncCall call;
    call.entry = TEventEntry{&target, 2, 0, nullptr};
    std::thread caller([&] { EXPECT_EQ(queue.Call(call, [&] { linked = true; }), 5); });
    while (!linked) std::this_thread::yield();
    ASSERT_TRUE(queue.Post(TEventEntry{&target, 3, 0, nullptr}));

    CEventQueue::Batch batch = queue.Snapshot();
    TEventEntry entry;
    TSyncCall* taken = nullptr;
    ASSERT_TRUE(queue.Take(batch, entry, taken));
    EXPECT_EQ(entry.code, 2);
    ASSERT_EQ(taken, &call);
    queue.Complete(*taken, 5);
    caller.join();
    ASSERT_TRUE(queue.Take(batch, entry, taken));
    EXPECT_EQ(entry.code, 1);
    EXPECT_EQ(taken, nullptr);
    ASSERT_TRUE(queue.Take(batch, entry, taken));
    EXPECT_EQ(entry.code, 3);
    EXPECT_FALSE(queue.Take(batch, entry, taken));
}

TEST(Reactor, SynchronousCallToARemovedTargetYieldsZero) {
    CEventQueue queue;
    CNoopTarget target;
    std::atomic<bool> linked{false};
    TSyncCall call;
    call.entry = TEventEntry{&target, 1, 4, nullptr};
    std::thread caller([&] { EXPECT_EQ(queue.Call(call, [&] { linked = true; }), 0); });
    while (!linked) std::this_thread::yield();
    queue.RemoveTarget(&target);
    CEventQueue::Batch batch = queue.Snapshot();
    TEventEntry entry;
    TSyncCall* taken = nullptr;
    ASSERT_TRUE(queue.Take(batch, entry, taken));
    EXPECT_EQ(entry.target, nullptr);  // the reactor answers such an entry with 0
    queue.Complete(*taken, 0);
    caller.join();
}

TEST(Reactor, StoppedLoopRefusesSynchronousCalls) {
    CReactor reactor;
    CCountingTarget target(reactor);
    ASSERT_TRUE(reactor.Start());
    EXPECT_EQ(reactor.SyncCall(&target, 1, 1, nullptr), 2);
    reactor.Stop();
    std::thread late([&] { EXPECT_EQ(reactor.SyncCall(&target, 1, 1, nullptr), CEventQueue::kCallRefused); });
    late.join();
    EXPECT_EQ(target.calls.load(), 1);
}

TEST(Reactor, SessionRemovedDuringAPassIsNotCalledAgainAndCompactedNextPass) {
    CReactor reactor;
    SocketPair first;
    SocketPair second;
    bool firstDestroyed = false;
    bool secondDestroyed = false;
    auto remover = std::make_unique<CProbeSession>(reactor, first.local, firstDestroyed);
    auto victim = std::make_unique<CProbeSession>(reactor, second.local, secondDestroyed);
    CProbeSession* removerView = remover.get();
    CProbeSession* victimView = victim.get();
    removerView->victim = victimView;
    ASSERT_TRUE(reactor.AddSession(std::move(remover)));
    ASSERT_TRUE(reactor.AddSession(std::move(victim)));
    // Both become readable before the first pass, so both are ready in it.
    ASSERT_EQ(::send(first.peer, "x", 1, 0), 1);
    ASSERT_EQ(::send(second.peer, "y", 1, 0), 1);
    ASSERT_TRUE(reactor.Start());
    Settle(reactor);

    EXPECT_EQ(RunOnReactor(reactor, [&] { return removerView->readableCalls; }), 1);
    EXPECT_EQ(removerView->sessionsAfterRemoval, 2u);  // the entry stays, set to none, until compaction
    EXPECT_EQ(RunOnReactor(reactor, [&] { return static_cast<int>(reactor.GetSessionCount()); }), 1);
    EXPECT_TRUE(secondDestroyed);  // without ever being called: it would have counted a read
    EXPECT_FALSE(firstDestroyed);
}

TEST(Reactor, SessionAddedFromAnotherThreadIsAttachedThenWatched) {
    CReactor reactor;
    ASSERT_TRUE(reactor.Start());
    SocketPair pair;
    bool destroyed = false;
    auto session = std::make_unique<CProbeSession>(reactor, pair.local, destroyed);
    CProbeSession* view = session.get();
    ASSERT_TRUE(reactor.AddSession(std::move(session)));
    EXPECT_TRUE(view->attachedOnReactor.load());
    ASSERT_EQ(::send(pair.peer, "z", 1, 0), 1);
    EXPECT_TRUE(WaitOnReactor(reactor, [&] { return view->readableCalls == 1; }));
    reactor.Stop();
    EXPECT_FALSE(destroyed);
    bool lateDestroyed = false;
    EXPECT_FALSE(reactor.AddSession(std::make_unique<CProbeSession>(reactor, ::dup(pair.peer), lateDestroyed)));
    EXPECT_TRUE(lateDestroyed);  // refused once the loop has ended
}

TEST(Reactor, DestroyedWithSessionsStillRegisteredDestroysThem) {
    SocketPair pair;
    bool destroyed = false;
    {
        CReactor reactor;
        ASSERT_TRUE(reactor.Start());
        ASSERT_TRUE(reactor.AddSession(std::make_unique<CProbeSession>(reactor, pair.local, destroyed)));
        Settle(reactor);
    }
    EXPECT_TRUE(destroyed);
}

TEST(Reactor, IdleLoopSleepsInsteadOfSpinning) {
    CReactor reactor;
    SocketPair pair;
    bool destroyed = false;
    ASSERT_TRUE(reactor.AddSession(std::make_unique<CProbeSession>(reactor, pair.local, destroyed)));
    ASSERT_TRUE(reactor.Start());
    CThreadCpuProbe probe;
    double before = 0;
    double after = 0;
    reactor.SyncCall(&probe, 0, 0, &before);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    reactor.SyncCall(&probe, 0, 0, &after);
    // A polling loop would burn most of the 300 ms; a blocked one uses next to nothing.
    EXPECT_LT(after - before, 0.03);
}

TEST(Reactor, WakeupMakesAPassRunPromptly) {
    CManualClock clock;
    CReactor reactor(clock);
    std::vector<int> fired;
    CRecordingTimerTarget target(fired);
    reactor.AddTimer(&target, 1, 3600);  // the loop would otherwise wait for an hour
    ASSERT_TRUE(reactor.Start());
    Settle(reactor);
    CCountingTarget counted(reactor);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(reactor.PostEvent(&counted, 1, 0, nullptr));
    while (counted.calls.load() == 0) {
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        std::this_thread::yield();
    }
    EXPECT_TRUE(fired.empty());
}
