// CClientApi's routing: the table itself, checked line by line against the windows' list typed out
// apart from it, the deliveries through the batch, and what the bridge does beside routing (the
// login state, the channel loss at and after login).
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "ClientApiTestSupport.h"
#include "client/pages/PageWindows.h"
#include "client/shell/RecordKeys.h"

using namespace kvt;
using namespace kvt::test;
using enum EShellWindow;
using enum EPageWindow;

namespace {

// Every routed event and the names of its windows, in order, as the windows expect them.
const std::map<std::string, std::vector<std::string>> kExpectedRoutes = {
    {"onRecvReqSendOver", {"QuotationPage", "LoginDialog", "OrderEntryPage", "PreOrderPage"}},
    {"onRecvRspTraderLogin", {"LoginDialog"}},
    {"ChannelLostAtLogin", {"LoginDialog"}},
    {"onChannelLost", {"PreOrderPage", "MainFrame"}},
    {"onRecvRspYqOrder", {"OrderEntryPage", "PreOrderPage"}},
    {"onRecvRtnYqOrder", {"OrderListPage", "OrderEntryPage", "PreOrderPage"}},
    {"onRecvRtnYqOrderCancel", {"OrderListPage", "OrderEntryPage", "PreOrderPage"}},
    {"onRecvRtnForceYqOrder", {"OrderListPage"}},
    {"onRecvRspYqOrderCancel", {"OrderListPage"}},
    {"onRecvRtnYqMatch", {"MatchPage"}},
    {"onRecvYqQuotation", {"QuotationPage", "OrderEntryPage"}},
    {"onRecvRspQryYqQuotation", {"QuotationPage"}},
    {"onRecvYqCloseQuotation", {"QuotationPage"}},
    {"onRecvYuanQiInstInfo", {"OrderEntryPage"}},
    {"onRecvRspQryMemberCapital", {"CapitalPage", "OrderEntryPage"}},
    {"onRecvRspQryYqClientPosi", {"PositionPage"}},
    {"onRecvRspQryYqMemberPosi", {"OrderEntryPage", "PositionPage"}},
    {"onRecvRspQryElctIndenture", {"ElctIndenturePage"}},
    {"onRecvRspQryYqInstElctIndent", {"IndentureSelectPage"}},
    {"onRecvRspTraderPasswordUpdate", {"PasswordDialog", "MainFrame"}},
};

const char* WindowName(TWindowId id) {
    static const char* const kNames[] = {"MainFrame",         "LoginDialog",        "PasswordDialog", "TabControl",
                                         "QuotationPage",     "OrderListPage",      "UnmatchedOrderPage",
                                         "MatchPage",         "PositionPage",       "CapitalPage",    "OrderEntryPage",
                                         "ElctIndenturePage", "IndentureSelectPage", "PreOrderPage"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(EPageWindow::kEnd));
    return id < std::size(kNames) ? kNames[id] : "?";
}

class ClientApiRouting : public testing::Test {
protected:
    ClientApiRouting() : m_api(m_bridge, EventRoutes(), [] { return std::time_t{1'800'000'000}; }) {
        for (TWindowId id = 0; id < IdOf(EPageWindow::kEnd); ++id) {
            m_windows.emplace_back(id, m_journal);
            m_api.Windows().Register(id, &m_windows.back(), &m_windows.back());
        }
        std::strcpy(m_ok.RspCode, "RSP000000");
        m_ok.ChainFlag = 'L';
    }

    template <class Window>
    JournalWindow& WindowOf(Window window) {
        return m_windows[static_cast<std::size_t>(window)];
    }
    // The windows that heard something since the journal was last cleared, with the event.
    std::vector<std::string> Heard() {
        std::vector<std::string> heard;
        for (const Delivery& delivery : m_journal) heard.push_back(std::string(WindowName(delivery.window)) + " " + delivery.what);
        m_journal.clear();
        return heard;
    }
    static std::vector<std::string> Each(std::initializer_list<const char*> windows, const char* event) {
        std::vector<std::string> expected;
        for (const char* window : windows) expected.push_back(std::string(window) + " " + event);
        return expected;
    }

    NoWakeup m_wakeup;
    CMessageBridge m_bridge{m_wakeup};
    CClientApi m_api;
    std::vector<Delivery> m_journal;
    std::deque<JournalWindow> m_windows;
    TTRspMsg m_ok{};
};

TEST_F(ClientApiRouting, TheTableRoutesEachEventToItsWindowsInOrderAndNothingElse) {
    std::map<std::string, std::vector<std::string>> routed;
    for (std::size_t e = 0; e < kTraderEventCount; ++e) {
        const auto event = static_cast<ETraderEvent>(e);
        for (const TWindowId window : m_api.Windows().Receivers(event)) routed[EventName(event)].push_back(WindowName(window));
    }
    EXPECT_EQ(routed, kExpectedRoutes);
}

TEST_F(ClientApiRouting, CallbacksReachTheirWindowsInOrderWithACopyOfTheRecord) {
    TYqOrder order{};
    std::strcpy(order.orderNo, "26120800000001");
    std::string seenOrderNo;
    WindowOf(OrderEntryPage).onEvent = [&](const std::string&, const void* record) {
        seenOrderNo = static_cast<const TYqOrder*>(record)->orderNo;
    };
    m_api.onRecvRtnYqOrder(&order, &m_ok, nullptr);
    EXPECT_EQ(Heard(), Each({"OrderListPage", "OrderEntryPage", "PreOrderPage"}, "onRecvRtnYqOrder"));
    EXPECT_EQ(seenOrderNo, "26120800000001");

    TYqMemberPosi position{};
    m_api.onRecvRspQryYqMemberPosi(&position, &m_ok, nullptr);
    EXPECT_EQ(Heard(), Each({"OrderEntryPage", "PositionPage"}, "onRecvRspQryYqMemberPosi"));
    // A response without records passes a null record on; an event nobody hears goes nowhere.
    m_api.onRecvRspQryElctIndenture(nullptr, &m_ok, nullptr);
    ASSERT_EQ(m_journal.size(), 1u);
    EXPECT_FALSE(m_journal[0].hasRecord);
    m_journal.clear();
    TMarket market{};
    m_api.onRecvMarketInfo(&market, &m_ok, nullptr);
    EXPECT_TRUE(Heard().empty());
}

TEST_F(ClientApiRouting, UnregisteredWindowsAreSkipped) {
    m_api.Windows().Register(IdOf(OrderEntryPage), nullptr);
    TYqOrder order{};
    m_api.onRecvRtnYqOrder(&order, &m_ok, nullptr);
    EXPECT_EQ(Heard(), Each({"OrderListPage", "PreOrderPage"}, "onRecvRtnYqOrder"));
    m_api.Windows().Register(LoginDialog, nullptr);
    m_api.onRecvReqSendOver();
    EXPECT_EQ(Heard(), Each({"QuotationPage", "PreOrderPage"}, "onRecvReqSendOver"));
}

// Callbacks made on another thread (the library's reactor) are gathered and delivered in one
// hand-off, in order, when the library's pass ends or the batch is full; the callback that hands
// them over returns once they have been handled.
TEST_F(ClientApiRouting, CallbacksFromTheReactorThreadAreDeliveredTogetherWhenThePassEnds) {
    TYqMatch match{};
    const std::size_t matches = CEventBatch::kCapacity + 3;
    std::thread reactor([&] {
        for (std::size_t i = 0; i < matches; ++i) m_api.onRecvRtnYqMatch(&match, &m_ok, nullptr);
    });
    // The first kCapacity go over when the batch is full; the test's thread serves them.
    while (m_journal.size() < CEventBatch::kCapacity) m_bridge.Deliver();
    reactor.join();
    EXPECT_EQ(m_journal.size(), CEventBatch::kCapacity);
    EXPECT_EQ(WindowOf(MatchPage).handOvers, 1);

    std::thread endOfPass([&] { m_api.DeliverPending(); });
    while (m_journal.size() < matches) m_bridge.Deliver();
    endOfPass.join();
    EXPECT_EQ(m_journal.size(), matches);
    EXPECT_EQ(WindowOf(MatchPage).handOvers, 2);
}

TEST_F(ClientApiRouting, ChannelLossGoesToTheLoginDialogAloneWhileItIsOpenElseToThePreOrderPageAndTheFrame) {
    TReqTraderLogin login{};
    std::strcpy(login.tradeDate, "20261208");
    std::strcpy(login.tradeTime, "09:30:00");
    m_api.onRecvRspTraderLogin(&login, &m_ok, nullptr);
    m_journal.clear();
    ASSERT_TRUE(m_api.LoginState().IsLoggedIn());
    m_api.onChannelLost("local failure");
    EXPECT_FALSE(m_api.LoginState().IsLoggedIn());
    ASSERT_EQ(m_journal.size(), 1u);
    EXPECT_EQ(m_journal[0], (Delivery{IdOf(LoginDialog), "onChannelLost", false, "local failure"}));
    m_journal.clear();

    m_api.Windows().Register(LoginDialog, nullptr);
    m_api.onChannelLost("channel disconnect");
    EXPECT_EQ(Heard(), Each({"PreOrderPage", "MainFrame"}, "onChannelLost"));
    // The reason is cut to the 60 characters of RspMsg; no reason is an empty text.
    m_api.onChannelLost(std::string(100, 'r').c_str());
    EXPECT_EQ(m_journal.back().code, std::string(60, 'r'));
    m_api.onChannelLost(nullptr);
    EXPECT_EQ(m_journal.back().code, "");
}

TEST_F(ClientApiRouting, LoginResponseReachesTheDialogBeforeTheStateIsFilled) {
    TReqTraderLogin login{};
    std::strcpy(login.traderID, "00011234");
    std::strcpy(login.memberID, "0001");
    std::strcpy(login.localOrderNo, "20261208000042");
    std::strcpy(login.tradeDate, "20261208");
    std::strcpy(login.tradeTime, "09:30:00");
    bool loggedInDuringHandler = true;
    WindowOf(LoginDialog).onEvent = [&](const std::string&, const void*) {
        loggedInDuringHandler = m_api.LoginState().IsLoggedIn();
    };
    m_api.onRecvRspTraderLogin(&login, &m_ok, nullptr);
    EXPECT_EQ(Heard(), Each({"LoginDialog"}, "onRecvRspTraderLogin"));
    EXPECT_FALSE(loggedInDuringHandler);
    EXPECT_TRUE(m_api.LoginState().IsLoggedIn());
    EXPECT_STREQ(m_api.LoginState().Trader().traderID, "00011234");

    m_api.onRecvRspTraderLogout(nullptr, &m_ok, nullptr);
    EXPECT_FALSE(m_api.LoginState().IsLoggedIn());
    EXPECT_STREQ(m_api.LoginState().Trader().traderID, "00011234");
}

TEST_F(ClientApiRouting, RejectedOrUnexpectedLoginResponsesChangeNothing) {
    TReqTraderLogin login{};
    std::strcpy(login.traderID, "00011234");
    TTRspMsg rejected{};
    std::strcpy(rejected.RspCode, "RSP0000001");  // longer than the success code
    m_api.onRecvRspTraderLogin(&login, &rejected, nullptr);
    EXPECT_EQ(Heard(), Each({"LoginDialog"}, "onRecvRspTraderLogin"));
    EXPECT_FALSE(m_api.LoginState().IsLoggedIn());
    EXPECT_STREQ(m_api.LoginState().Trader().traderID, "");

    m_api.Windows().Register(LoginDialog, nullptr);
    m_api.onRecvRspTraderLogin(&login, &m_ok, nullptr);
    EXPECT_TRUE(Heard().empty());
    EXPECT_FALSE(m_api.LoginState().IsLoggedIn());
    EXPECT_STREQ(m_api.LoginState().Trader().traderID, "");
}

TEST_F(ClientApiRouting, YqInstIDOfLooksInTheOrderEntryPagesInstruments) {
    EXPECT_EQ(m_api.YqInstIDOf("HR0612"), "");
    CTypedRecordTable<TYuanQiInst> instruments({CompareInstrumentKey});
    TYuanQiInst instrument{};
    std::strcpy(instrument.instID, "HR0612");
    std::strcpy(instrument.yqInstID, "HR0612YQ01");
    instruments.Insert(instrument);
    m_api.SetInstrumentTable(&instruments);
    EXPECT_EQ(m_api.YqInstIDOf("HR0612"), "HR0612YQ01");
    EXPECT_EQ(m_api.YqInstIDOf("XX0000"), "");
    EXPECT_EQ(m_api.YqInstIDOf(nullptr), "");
    // Only the six characters of an instrument code are compared.
    EXPECT_EQ(m_api.YqInstIDOf("HR0612-and-more"), "HR0612YQ01");

    // A table of another record type does not compile; one keyed otherwise is refused.
    CTypedRecordTable<TYuanQiInst> wrong({[](const void*, const void*) { return 0; }});
    EXPECT_THROW(m_api.SetInstrumentTable(&wrong), CDesignError);
    m_api.SetInstrumentTable(nullptr);
    EXPECT_EQ(m_api.YqInstIDOf("HR0612"), "");
}

TEST(WindowRegistry, ARoutingTableThatNamesAnEventTwiceOrABadWindowIsRefused) {
    const CEventRoute twice[] = {Route(ETraderEvent::onRecvRtnYqMatch, 4), Route(ETraderEvent::onRecvRtnYqMatch, 5)};
    EXPECT_THROW(CWindowRegistry{twice}, CDesignError);
    const CEventRoute tooFar[] = {Route(ETraderEvent::onRecvRtnYqMatch, CWindowRegistry::kMaxWindows)};
    EXPECT_THROW(CWindowRegistry{tooFar}, CDesignError);
}

}  // namespace
