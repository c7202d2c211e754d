#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <chrono>
#include <thread>
#include <vector>

#include "ClientApiTestSupport.h"
#include "client/pages/PageWindows.h"
#include "client/shell/MessageBridge.h"

using namespace kvt;
using namespace kvt::test;

namespace {

// Lets the test thread, as the user interface thread, wait until the bridge has work.
class SignalledWakeup : public CBridgeWakeup {
public:
    void Wake() override {
        std::lock_guard lock(m_mutex);
        ++m_pending;
        m_signal.notify_all();
    }
    void WaitForWake() {
        std::unique_lock lock(m_mutex);
        m_signal.wait(lock, [this] { return m_pending > 0; });
        --m_pending;
    }
    bool HasPendingWake() {
        std::lock_guard lock(m_mutex);
        return m_pending > 0;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_signal;
    int m_pending = 0;
};

struct Received {
    unsigned message;
    WParam wParam;
    std::thread::id thread;
};

class RecordingWindow : public CMessageTarget {
public:
    void OnMessage(unsigned message, WParam wParam, LParam) override {
        received.push_back({message, wParam, std::this_thread::get_id()});
    }
    std::vector<Received> received;
};

class MessageBridgeTest : public testing::Test {
protected:
    MessageBridgeTest() { m_ref.Set(&m_window); }

    SignalledWakeup m_wakeup;
    CMessageBridge m_bridge{m_wakeup};
    RecordingWindow m_window;
    CWindowRef m_ref;
};

TEST_F(MessageBridgeTest, SendOnTheUserInterfaceThreadIsADirectCall) {
    m_bridge.Send(m_ref, WM_PAGE_REFRESH, 5, 0);
    ASSERT_EQ(m_window.received.size(), 1u);
    EXPECT_EQ(m_window.received[0].wParam, 5u);
    EXPECT_FALSE(m_wakeup.HasPendingWake());
}

TEST_F(MessageBridgeTest, SendFromAnotherThreadReturnsOnlyAfterTheWindowHandledIt) {
    std::atomic<bool> returned{false};
    std::thread reactor([&] {
        m_bridge.Send(m_ref, WM_ORDER_RTN, 1, 0);
        returned = true;
    });
    m_wakeup.WaitForWake();
    // Nothing has run the delivery yet, so the sender must still be waiting.
    EXPECT_FALSE(returned);
    EXPECT_TRUE(m_window.received.empty());
    m_bridge.Deliver();
    reactor.join();
    EXPECT_TRUE(returned);
    ASSERT_EQ(m_window.received.size(), 1u);
    EXPECT_EQ(m_window.received[0].thread, std::this_thread::get_id());
}

TEST_F(MessageBridgeTest, DeliveriesFromSeveralThreadsEachKeepTheirOrder) {
    constexpr int kPerThread = 300;
    std::vector<std::thread> senders;
    for (WParam sender = 0; sender < 2; ++sender) {
        senders.emplace_back([&, sender] {
            for (WParam i = 0; i < kPerThread; ++i) m_bridge.Send(m_ref, WM_ORDER_RTN, sender * 1000 + i, 0);
        });
    }
    while (m_window.received.size() < 2 * kPerThread) {
        m_wakeup.WaitForWake();
        m_bridge.Deliver();
    }
    for (std::thread& sender : senders) sender.join();
    WParam next[2] = {0, 1000};
    for (const Received& received : m_window.received) {
        EXPECT_EQ(received.thread, std::this_thread::get_id());
        WParam& expected = next[received.wParam / 1000];
        EXPECT_EQ(received.wParam, expected);
        expected = received.wParam + 1;
    }
}

// Work handed over from another thread runs on the user interface thread, once, and the caller
// returns after it; a bridge that has stopped runs nothing and says so.
TEST_F(MessageBridgeTest, CallRunsTheWorkOnTheUserInterfaceThreadAndWaitsForIt) {
    struct CWork : CBridgeCall {
        std::vector<std::thread::id> ranOn;
        void Run(const CMessageBridge&) override { ranOn.push_back(std::this_thread::get_id()); }
    } work;
    bool ran = false;
    std::thread reactor([&] { ran = m_bridge.Call(work); });
    m_wakeup.WaitForWake();
    m_bridge.Deliver();
    reactor.join();
    EXPECT_TRUE(ran);
    EXPECT_EQ(work.ranOn, std::vector<std::thread::id>{std::this_thread::get_id()});
    EXPECT_FALSE(m_wakeup.HasPendingWake());

    m_bridge.Stop();
    EXPECT_FALSE(m_bridge.Call(work));
    EXPECT_EQ(work.ranOn.size(), 1u);
}

TEST_F(MessageBridgeTest, AWindowThatUnregistersBeforeItsDeliveryGetsNothing) {
    std::thread reactor([&] { m_bridge.Send(m_ref, WM_ORDER_RTN, 0, 0); });
    m_wakeup.WaitForWake();
    m_ref.Set(nullptr);
    m_bridge.Deliver();
    reactor.join();
    EXPECT_TRUE(m_window.received.empty());
}

TEST_F(MessageBridgeTest, StopReleasesABlockedSenderWithoutDelivering) {
    std::thread reactor([&] { m_bridge.Send(m_ref, WM_ORDER_RTN, 0, 0); });
    m_wakeup.WaitForWake();
    m_bridge.Stop();
    reactor.join();
    m_bridge.Deliver();
    EXPECT_TRUE(m_window.received.empty());

    // Afterwards nothing is delivered, from any thread, and posts are refused.
    std::thread late([&] { m_bridge.Send(m_ref, WM_ORDER_RTN, 0, 0); });
    late.join();
    m_bridge.Send(m_ref, WM_ORDER_RTN, 0, 0);
    EXPECT_FALSE(m_bridge.Post(m_ref, WM_PAGE_REFRESH, 0, 0));
    m_bridge.Deliver();
    EXPECT_TRUE(m_window.received.empty());
}

TEST_F(MessageBridgeTest, PostsAreAsynchronousAndYieldToWaitingSends) {
    ASSERT_TRUE(m_bridge.Post(m_ref, WM_PAGE_REFRESH, 1, 0));
    EXPECT_TRUE(m_window.received.empty());
    m_wakeup.WaitForWake();
    // The send finds a wake-up already on its way and adds none.
    std::thread reactor([&] { m_bridge.Send(m_ref, WM_ORDER_RTN, 2, 0); });
    while (!m_bridge.HasWaitingCall()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(m_wakeup.HasPendingWake());
    m_bridge.Deliver();
    reactor.join();
    ASSERT_EQ(m_window.received.size(), 2u);
    EXPECT_EQ(m_window.received[0].wParam, 2u);
    EXPECT_EQ(m_window.received[1].wParam, 1u);
}

// A burst of posts costs one wake-up; once Deliver has run, the next post wakes again.
TEST_F(MessageBridgeTest, ABurstOfPostsWakesOnce) {
    for (WParam i = 0; i < 3; ++i) ASSERT_TRUE(m_bridge.Post(m_ref, WM_PAGE_REFRESH, i, 0));
    m_wakeup.WaitForWake();
    EXPECT_FALSE(m_wakeup.HasPendingWake());
    m_bridge.Deliver();
    EXPECT_EQ(m_window.received.size(), 3u);
    ASSERT_TRUE(m_bridge.Post(m_ref, WM_PAGE_REFRESH, 4, 0));
    EXPECT_TRUE(m_wakeup.HasPendingWake());
}

// A window that posts to itself on every message must not keep Deliver busy for ever: the new
// post waits for the next wake-up.
TEST_F(MessageBridgeTest, APostFromAHandlerRunsAtTheNextWakeUp) {
    class Reposter : public CMessageTarget {
    public:
        Reposter(CMessageBridge& bridge, CWindowRef& self) : m_bridge(bridge), m_self(self) {}
        void OnMessage(unsigned, WParam, LParam) override {
            ++count;
            m_bridge.Post(m_self, WM_PAGE_REFRESH, 0, 0);
        }
        int count = 0;

    private:
        CMessageBridge& m_bridge;
        CWindowRef& m_self;
    } reposter(m_bridge, m_ref);
    m_ref.Set(&reposter);
    m_bridge.Post(m_ref, WM_PAGE_REFRESH, 0, 0);
    m_wakeup.WaitForWake();
    m_bridge.Deliver();
    EXPECT_EQ(reposter.count, 1);
    EXPECT_TRUE(m_wakeup.HasPendingWake());
    m_wakeup.WaitForWake();
    m_bridge.Deliver();
    EXPECT_EQ(reposter.count, 2);
    m_ref.Set(nullptr);
}

// The program closes while the library's reactor thread waits in a delivery: destroying the API
// object releases it, stops the reactor, and no window hears anything more.
TEST(ClientApiShutdown, DestroyingTheApiReleasesAReactorBlockedInADelivery) {
    SignalledWakeup wakeup;
    CMessageBridge bridge(wakeup);
    std::vector<Delivery> journal;
    JournalWindow matchPage(EPageWindow::MatchPage, journal);
    std::optional<CClientApi> api(std::in_place, bridge, EventRoutes());
    ASSERT_EQ(api->initApi(), 0);
    api->Windows().Register(IdOf(EPageWindow::MatchPage), &matchPage);

    // This thread plays the library's reactor thread delivering a match return in one pass.
    std::thread reactor([&] {
        TYqMatch match{};
        TTRspMsg rsp{};
        api->onRecvRtnYqMatch(&match, &rsp, nullptr);
        api->DeliverPending();
    });
    wakeup.WaitForWake();
    // Stop is the destructor's first step. The library's own reactor thread is joined by it; this
    // stand-in is not, so it is joined here before the object goes.
    api->Stop();
    reactor.join();
    api.reset();
    bridge.Deliver();
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(bridge.IsStopped());
}

}  // namespace
