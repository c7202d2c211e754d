#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <memory>

#include "ClientApiTestSupport.h"
#include "client/shell/RecordKeys.h"

using namespace kvt;
using namespace kvt::test;
using enum EWindow;

namespace {

constexpr EWindow kAllWindows[] = {MainFrame,    LoginDialog,       PasswordDialog,     QuotationPage, OrderListPage,
                                   MatchPage,    PositionPage,      CapitalPage,        OrderEntryPage,
                                   ElctIndenturePage, IndentureSelectPage, UnmatchedOrderPage, PreOrderPage, TabControl};

class ClientApiRouting : public testing::Test {
protected:
    ClientApiRouting() : m_api(m_bridge, [] { return std::time_t{1'800'000'000}; }) {
        for (EWindow window : kAllWindows) {
            m_windows.emplace_back(window, m_journal);
            m_api.Register(window, &m_windows.back());
        }
        std::strcpy(m_ok.RspCode, "RSP000000");
        m_ok.ChainFlag = 'L';
    }

    JournalWindow& WindowOf(EWindow window) { return m_windows[static_cast<std::size_t>(window)]; }

    // What a row of the routing table must deliver: these windows, in order, each one message with
    // the callback's record and response.
    std::vector<Delivery> Expected(std::initializer_list<EWindow> windows, unsigned message, const void* record,
                                   const TTRspMsg* rsp) {
        std::vector<Delivery> expected;
        for (EWindow window : windows) expected.push_back({window, message, AsWParam(record), AsLParam(rsp)});
        return expected;
    }

    NoWakeup m_wakeup;
    CMessageBridge m_bridge{m_wakeup};
    CClientApi m_api;
    std::vector<Delivery> m_journal;
    std::deque<JournalWindow> m_windows;
    TTRspMsg m_ok{};
};

TEST_F(ClientApiRouting, RecordCallbacksReachTheirWindowsInOrder) {
    TYqOrder order{};
    TYqOrderCancel cancel{};
    TYqMatch match{};
    TYqQuotation quotation{};
    TYuanQiInst instrument{};
    TMemberCapital capital{};
    TYqClientPosi clientPosi{};
    TYqMemberPosi memberPosi{};
    TElctIndenture indenture{};
    struct Row {
        const char* name;
        std::function<void()> call;
        std::vector<Delivery> expected;
    };
    const std::vector<Row> rows = {
        {"RspYqOrder", [&] { m_api.onRecvRspYqOrder(&order, &m_ok, nullptr); },
         Expected({OrderEntryPage, PreOrderPage}, WM_ORDER_RSP, &order, &m_ok)},
        {"RtnYqOrder", [&] { m_api.onRecvRtnYqOrder(&order, &m_ok, nullptr); },
         Expected({OrderListPage, OrderEntryPage, PreOrderPage}, WM_ORDER_RTN, &order, &m_ok)},
        {"RtnYqOrderCancel", [&] { m_api.onRecvRtnYqOrderCancel(&order, &m_ok, nullptr); },
         Expected({OrderListPage, OrderEntryPage, PreOrderPage}, WM_ORDER_RTN, &order, &m_ok)},
        {"RtnForceYqOrder", [&] { m_api.onRecvRtnForceYqOrder(&order, &m_ok, nullptr); },
         Expected({OrderListPage}, WM_ORDER_RTN, &order, &m_ok)},
        {"RspYqOrderCancel", [&] { m_api.onRecvRspYqOrderCancel(&cancel, &m_ok, nullptr); },
         Expected({OrderListPage}, WM_ORDER_CANCEL_RSP, &cancel, &m_ok)},
        {"RtnYqMatch", [&] { m_api.onRecvRtnYqMatch(&match, &m_ok, nullptr); },
         Expected({MatchPage}, WM_MATCH_RTN, &match, &m_ok)},
        {"YqQuotation", [&] { m_api.onRecvYqQuotation(&quotation, &m_ok, nullptr); },
         Expected({QuotationPage, OrderEntryPage}, WM_YQ_QUOTATION, &quotation, &m_ok)},
        {"RspQryYqQuotation", [&] { m_api.onRecvRspQryYqQuotation(&quotation, &m_ok, nullptr); },
         Expected({QuotationPage}, WM_YQ_QUOTATION, &quotation, &m_ok)},
        {"YqCloseQuotation", [&] { m_api.onRecvYqCloseQuotation(&quotation, &m_ok, nullptr); },
         Expected({QuotationPage}, WM_YQ_QUOTATION, &quotation, &m_ok)},
        {"YuanQiInstInfo", [&] { m_api.onRecvYuanQiInstInfo(&instrument, &m_ok, nullptr); },
         Expected({OrderEntryPage}, WM_INST_INFO, &instrument, &m_ok)},
        {"RspQryMemberCapital", [&] { m_api.onRecvRspQryMemberCapital(&capital, &m_ok, nullptr); },
         Expected({CapitalPage, OrderEntryPage}, WM_MEMBER_CAPITAL, &capital, &m_ok)},
        {"RspQryYqClientPosi", [&] { m_api.onRecvRspQryYqClientPosi(&clientPosi, &m_ok, nullptr); },
         Expected({PositionPage}, WM_CLIENT_POSI, &clientPosi, &m_ok)},
        {"RspQryYqMemberPosi", [&] { m_api.onRecvRspQryYqMemberPosi(&memberPosi, &m_ok, nullptr); },
         Expected({OrderEntryPage, PositionPage}, WM_QRY_RESULT, &memberPosi, &m_ok)},
        {"RspQryElctIndenture", [&] { m_api.onRecvRspQryElctIndenture(&indenture, &m_ok, nullptr); },
         Expected({ElctIndenturePage}, WM_QRY_RESULT, &indenture, &m_ok)},
        {"RspQryYqInstElctIndent", [&] { m_api.onRecvRspQryYqInstElctIndent(&indenture, &m_ok, nullptr); },
         Expected({IndentureSelectPage}, WM_QRY_RESULT, &indenture, &m_ok)},
        // A response without records passes a null record on.
        {"RspQryElctIndenture without records", [&] { m_api.onRecvRspQryElctIndenture(nullptr, &m_ok, nullptr); },
         Expected({ElctIndenturePage}, WM_QRY_RESULT, nullptr, &m_ok)},
    };
    for (const Row& row : rows) {
        m_journal.clear();
        row.call();
        EXPECT_EQ(m_journal, row.expected) << row.name;
    }
}

TEST_F(ClientApiRouting, UnregisteredWindowsAreSkipped) {
    m_api.Register(OrderEntryPage, nullptr);
    TYqOrder order{};
    m_api.onRecvRtnYqOrder(&order, &m_ok, nullptr);
    EXPECT_EQ(m_journal, Expected({OrderListPage, PreOrderPage}, WM_ORDER_RTN, &order, &m_ok));
}

TEST_F(ClientApiRouting, InitialDataDoneGoesToTheLoginDialogOnlyWhileItExists) {
    m_api.onRecvReqSendOver();
    EXPECT_EQ(m_journal, Expected({QuotationPage, LoginDialog, OrderEntryPage, PreOrderPage}, WM_INIT_DATA_DONE,
                                  nullptr, nullptr));
    m_journal.clear();
    m_api.Register(LoginDialog, nullptr);
    m_api.onRecvReqSendOver();
    EXPECT_EQ(m_journal,
              Expected({QuotationPage, OrderEntryPage, PreOrderPage}, WM_INIT_DATA_DONE, nullptr, nullptr));
}

TEST_F(ClientApiRouting, PasswordResponseGoesToTheDialogIfOpenAndAlwaysToTheMainFrame) {
    TReqTraderPasswordUpdate update{};
    m_api.onRecvRspTraderPasswordUpdate(&update, &m_ok, nullptr);
    EXPECT_EQ(m_journal, (std::vector<Delivery>{{PasswordDialog, WM_PASSWORD_RSP, AsWParam(&update), AsLParam(&m_ok)},
                                                {MainFrame, WM_STATUS_TEXT, 0, AsLParam(&m_ok)}}));
    m_journal.clear();
    m_api.Register(PasswordDialog, nullptr);
    m_api.onRecvRspTraderPasswordUpdate(&update, &m_ok, nullptr);
    EXPECT_EQ(m_journal, (std::vector<Delivery>{{MainFrame, WM_STATUS_TEXT, 0, AsLParam(&m_ok)}}));
}

TEST_F(ClientApiRouting, ChannelLossWhileTheLoginDialogIsOpenGoesToTheDialogAlone) {
    TReqTraderLogin login{};
    std::strcpy(login.tradeDate, "20261208");
    std::strcpy(login.tradeTime, "09:30:00");
    m_api.onRecvRspTraderLogin(&login, &m_ok, nullptr);
    m_journal.clear();
    ASSERT_TRUE(m_api.LoginState().IsLoggedIn());
    std::string reason;
    WindowOf(LoginDialog).onMessage = [&](unsigned, WParam, LParam lParam) {
        reason = MessageRecord<TTRspMsg>(lParam)->RspMsg;
    };
    m_api.onChannelLost("local failure");
    EXPECT_FALSE(m_api.LoginState().IsLoggedIn());
    ASSERT_EQ(m_journal.size(), 1u);
    EXPECT_EQ(m_journal[0].window, LoginDialog);
    EXPECT_EQ(m_journal[0].message, WM_CHANNEL_LOST);
    EXPECT_EQ(reason, "local failure");
}

TEST_F(ClientApiRouting, ChannelLossTellsThePreOrderPageThenTheMainFrame) {
    m_api.Register(LoginDialog, nullptr);
    std::string shown;
    WindowOf(MainFrame).onMessage = [&](unsigned, WParam, LParam lParam) {
        shown = MessageRecord<TTRspMsg>(lParam)->RspMsg;
    };
    m_api.onChannelLost("channel disconnect");
    ASSERT_EQ(m_journal.size(), 2u);
    EXPECT_EQ(m_journal[0], (Delivery{PreOrderPage, WM_CHANNEL_LOST, 0, 0}));
    EXPECT_EQ(m_journal[1].window, MainFrame);
    EXPECT_EQ(m_journal[1].message, WM_STATUS_TEXT);
    EXPECT_EQ(m_journal[1].wParam, 1122u);
    EXPECT_EQ(shown, "channel disconnect");

    // The reason is cut to the 60 characters of RspMsg; no reason is an empty text.
    m_api.onChannelLost(std::string(100, 'r').c_str());
    EXPECT_EQ(shown, std::string(60, 'r'));
    m_api.onChannelLost(nullptr);
    EXPECT_EQ(shown, "");
}

TEST_F(ClientApiRouting, LoginResponseReachesTheDialogBeforeTheStateIsFilled) {
    TReqTraderLogin login{};
    std::strcpy(login.traderID, "00011234");
    std::strcpy(login.memberID, "0001");
    std::strcpy(login.localOrderNo, "20261208000042");
    std::strcpy(login.tradeDate, "20261208");
    std::strcpy(login.tradeTime, "09:30:00");
    bool loggedInDuringHandler = true;
    WindowOf(LoginDialog).onMessage = [&](unsigned, WParam, LParam) {
        loggedInDuringHandler = m_api.LoginState().IsLoggedIn();
    };
    m_api.onRecvRspTraderLogin(&login, &m_ok, nullptr);
    EXPECT_EQ(m_journal, Expected({LoginDialog}, WM_LOGIN_RSP, &login, &m_ok));
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
    EXPECT_EQ(m_journal, Expected({LoginDialog}, WM_LOGIN_RSP, &login, &rejected));
    EXPECT_FALSE(m_api.LoginState().IsLoggedIn());
    EXPECT_STREQ(m_api.LoginState().Trader().traderID, "");

    m_journal.clear();
    m_api.Register(LoginDialog, nullptr);
    m_api.onRecvRspTraderLogin(&login, &m_ok, nullptr);
    EXPECT_TRUE(m_journal.empty());
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

}  // namespace
