// Login, logout, passwords, reference data and the resumption of the sequenced flows.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ExchangeHarness.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

constexpr std::uint32_t kOrderReturn = tid::RtnYqOrder;
constexpr std::uint32_t kQuotation = tid::YqQuotation;
constexpr std::uint32_t kSendOver = tid::ReqStandardDataSendOver;

TEST(ExchangeSessionTest, LoginAnswersWithTheDayThenReferenceDataThenSendOver) {
    CExchangeHarness harness;
    TReqTraderLogin login{};
    SetText(login.traderID, "00010001");
    SetText(login.memberID, "0001");
    SetText(login.password, quorex::PasswordDigest("trader1"));
    harness.Send(1, tid::ReqTraderLogin, login, TSequencePoint{3, 0}, TSequencePoint{2, 0}, TSequencePoint{4, 0});
    const std::vector<CReceived> dialog = harness.TakeDialog(1);
    ASSERT_GE(dialog.size(), 3u);
    EXPECT_EQ(dialog[0].Tid(), tid::RspTraderLogin);
    EXPECT_EQ(dialog[0].RspCode(), "RSP000000");
    EXPECT_STREQ(dialog[0].Header().RootID, "req1");
    const TReqTraderLogin answer = dialog[0].First<TReqTraderLogin>();
    EXPECT_STREQ(answer.tradeDate, "20260105");
    EXPECT_STREQ(answer.tradeTime, "10:30:00");
    EXPECT_STREQ(answer.localOrderNo, "00000000000000");
    EXPECT_STREQ(answer.password, "");  // the digest is not sent back
    EXPECT_EQ(OfType(dialog, tid::MarketInfo)[0].Records<TMarket>().size(), 3u);
    const std::vector<TYuanQiInst> instruments = OfType(dialog, tid::YuanQiInstInfo)[0].Records<TYuanQiInst>();
    ASSERT_EQ(instruments.size(), 3u);
    EXPECT_STREQ(instruments[0].instID, "000001");  // in configuration order
    EXPECT_STREQ(instruments[2].instID, "000003");
    // Nothing on the flows yet: the end of the standard data follows at once, on the dialog flow.
    const std::vector<CReceived> pulled = harness.Drain(1);
    ASSERT_EQ(pulled.size(), 1u);
    EXPECT_EQ(pulled[0].Tid(), kSendOver);
    EXPECT_EQ(pulled[0].Header().SequenceSeries, 1);
    EXPECT_TRUE(harness.Drain(1).empty());
}

TEST(ExchangeSessionTest, RefusedLoginsLeaveTheSessionLoggedOut) {
    CExchangeHarness harness;
    EXPECT_EQ(harness.LoginTrader(1, "00010001", "wrong").RspCode(), "ERR000005");
    EXPECT_EQ(harness.LoginTrader(1, "00019999", "trader1").RspCode(), "ERR000003");
    EXPECT_EQ(harness.LoginMonitor(1, "admin001", "nope").RspCode(), "ERR000005");
    // Still not logged in: requests are refused and nothing is handed out.
    EXPECT_EQ(harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 1, 1)).RspCode(), "ERR000001");
    EXPECT_TRUE(harness.Drain(1).empty());
    EXPECT_TRUE(harness.output.logins.empty());
    EXPECT_EQ(harness.LoginTrader(1, "00010001", "trader1").RspCode(), "RSP000000");
    EXPECT_EQ(harness.LoginTrader(1, "00010001", "trader1").RspCode(), "ERR000002");
    EXPECT_EQ(harness.LoginMonitor(2).RspCode(), "RSP000000");
    // Only the logins that succeeded are told to the server's log, with the role and the user.
    EXPECT_EQ(harness.output.logins, (std::vector<std::string>{"1 trader 00010001", "2 monitor admin001"}));
}

TEST(ExchangeSessionTest, RolesAreKeptApart) {
    CExchangeHarness harness;
    harness.LoginTrader(1, "00010001", "trader1");
    harness.LoginMonitor(2);
    TReqInstStateUpdate update{};
    SetText(update.instID, "000001");
    update.isChangeCommand = '2';
    harness.Send(1, tid::ReqYqInstStateUpdate, update);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR000010");
    harness.Send(2, tid::ReqYqOrder, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 1, 1));
    EXPECT_EQ(harness.Answer(2).RspCode(), "ERR000010");
    // A request the simulator does not serve is refused, not ignored.
    TZcOrder zc{};
    harness.Send(1, tid::ReqZcOrder, zc);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR000008");
}

TEST(ExchangeSessionTest, LogoutIsAnsweredAndEndsTheSession) {
    CExchangeHarness harness;
    harness.LoginTrader(1, "00010001", "trader1");
    TReqTraderLogout logout{};
    SetText(logout.traderID, "00010002");
    harness.Send(1, tid::ReqTraderLogout, logout);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR000007");  // not the session's trader: nothing ends
    EXPECT_TRUE(harness.output.ended.empty());
    SetText(logout.traderID, "00010001");
    harness.Send(1, tid::ReqTraderLogout, logout);
    EXPECT_EQ(harness.Answer(1).RspCode(), "RSP000000");
    EXPECT_EQ(harness.output.ended, std::vector<SessionId>{1});
    EXPECT_FALSE(harness.exchange->HasPending(1));
}

TEST(ExchangeSessionTest, ASecondLoginOfTheSameTraderEndsTheFirstSession) {
    CExchangeHarness harness;
    harness.LoginTrader(1, "00010001", "trader1");
    harness.LoginTrader(2, "00010001", "trader1");
    EXPECT_EQ(harness.output.ended, std::vector<SessionId>{1});
    harness.exchange->Disconnect(1);  // the transport's report of the end changes nothing more
    EXPECT_EQ(harness.Place(2, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 1, 1)).RspCode(), "RSP000000");
}

TEST(ExchangeSessionTest, PasswordChangeTakesEffectForTheNextLogin) {
    CExchangeHarness harness;
    harness.LoginTrader(1, "00010001", "trader1");
    TReqTraderPasswordUpdate update{};
    SetText(update.traderID, "00010001");
    SetText(update.memberID, "0001");
    SetText(update.oldPassword, quorex::PasswordDigest("wrong"));
    SetText(update.newPassword, quorex::PasswordDigest("newpass"));
    harness.Send(1, tid::ReqTraderPasswordUpdate, update);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR000005");
    SetText(update.oldPassword, quorex::PasswordDigest("trader1"));
    SetText(update.newPassword, "NOT-A-DIGEST");
    harness.Send(1, tid::ReqTraderPasswordUpdate, update);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR000009");
    SetText(update.newPassword, quorex::PasswordDigest("newpass"));
    harness.Send(1, tid::ReqTraderPasswordUpdate, update);
    const CReceived answer = harness.Answer(1);
    EXPECT_EQ(answer.RspCode(), "RSP000000");
    EXPECT_STREQ(answer.First<TReqTraderPasswordUpdate>().newPassword, "");
    harness.exchange->Disconnect(1);
    EXPECT_EQ(harness.LoginTrader(2, "00010001", "trader1").RspCode(), "ERR000005");
    EXPECT_EQ(harness.LoginTrader(2, "00010001", "newpass").RspCode(), "RSP000000");
}

// The sequence numbers of the packages of one series.
std::vector<std::uint32_t> Numbers(const std::vector<CReceived>& packages, std::uint8_t series) {
    std::vector<std::uint32_t> numbers;
    for (const CReceived& package : packages) {
        if (package.Header().SequenceSeries == series) numbers.push_back(package.Header().SequenceNo);
    }
    return numbers;
}

TEST(ExchangeSessionTest, AReLoginResumesEachFlowAfterItsPointAndThenOnlyNewPackages) {
    CExchangeHarness harness;
    harness.LoginTrader(1, "00010001", "trader1");
    harness.Drain(1);
    for (int i = 1; i <= 3; ++i) harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400 + i, 1, i));
    const std::vector<CReceived> first = harness.Drain(1);
    EXPECT_EQ(Numbers(first, 3), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(Numbers(first, 4), (std::vector<std::uint32_t>{1, 2, 3}));
    harness.exchange->Disconnect(1);

    // Meanwhile the day goes on.
    harness.LoginTrader(5, "00020001", "trader3");
    harness.Place(5, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3402, 2, 1));

    // The second session saw private 1..2 and market 1..3 only.
    harness.LoginTrader(2, "00010001", "trader1", 2, 0, 3);
    const std::vector<CReceived> second = harness.Drain(2);
    std::set<std::pair<int, std::uint32_t>> seen;
    for (const CReceived& package : first) seen.insert({package.Header().SequenceSeries, package.Header().SequenceNo});
    std::vector<std::uint32_t> privateNumbers = Numbers(second, 3);
    ASSERT_FALSE(privateNumbers.empty());
    EXPECT_EQ(privateNumbers.front(), 3u);  // resumed right after the point
    for (std::size_t i = 1; i < privateNumbers.size(); ++i) EXPECT_EQ(privateNumbers[i], privateNumbers[i - 1] + 1);
    EXPECT_EQ(Numbers(second, 4).front(), 4u);
    // The end of the standard data comes after the catch-up, and only once.
    ASSERT_EQ(OfType(second, kSendOver).size(), 1u);
    EXPECT_EQ(second.back().Tid(), kSendOver);
    // Across the two sessions each sequenced package arrived once, except the one the first
    // session had not confirmed (private 3), which the second got again as the client asked.
    int repeated = 0;
    for (const CReceived& package : second) {
        if (package.Header().SequenceSeries != 1) repeated += static_cast<int>(seen.count({package.Header().SequenceSeries, package.Header().SequenceNo}));
    }
    EXPECT_EQ(repeated, 1);
    // Later packages flow without another send-over.
    harness.Place(5, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3401, 1, 2));
    const std::vector<CReceived> later = harness.Drain(2);
    EXPECT_TRUE(OfType(later, kSendOver).empty());
    EXPECT_FALSE(OfType(later, kOrderReturn).empty());
    EXPECT_FALSE(OfType(later, kQuotation).empty());
}

TEST(ExchangeSessionTest, APointBeyondTheFlowSendsNothingOld) {
    CExchangeHarness harness;
    harness.LoginTrader(1, "00010001", "trader1");
    harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400, 1, 1));
    harness.exchange->Disconnect(1);
    harness.LoginTrader(2, "00010001", "trader1", 50, -7, 50);
    const std::vector<CReceived> pulled = harness.Drain(2);
    ASSERT_EQ(pulled.size(), 1u);
    EXPECT_EQ(pulled[0].Tid(), kSendOver);
    // The client kept another run's points: reported, so that the operator can tell.
    std::vector<int> stale = harness.output.staleSeries;
    std::sort(stale.begin(), stale.end());
    EXPECT_EQ(stale, (std::vector<int>{3, 4}));
}

// Points kept on another trading day, or by a client without a date (a first login, a clock file
// cut short), count in another day's flows: the whole day is sent, and nothing is reported.
TEST(ExchangeSessionTest, PointsOfAnotherTradeDateGetTheWholeDay) {
    CExchangeHarness harness;
    harness.LoginTrader(1, "00010001", "trader1");
    for (int i = 1; i <= 2; ++i) harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400 + i, 1, i));
    harness.exchange->Disconnect(1);
    for (const char* otherDay : {"", "20260104"}) {
        harness.LoginTrader(2, "00010001", "trader1", 2, 0, 2, otherDay);
        const std::vector<CReceived> pulled = harness.Drain(2);
        EXPECT_EQ(Numbers(pulled, 3).front(), 1u) << "kept on '" << otherDay << "'";
        EXPECT_EQ(Numbers(pulled, 4).front(), 1u);
        harness.exchange->Disconnect(2);
    }
    EXPECT_TRUE(harness.output.staleSeries.empty());
}

}  // namespace
}  // namespace quorex::sim::test
