// Passes of the exchange with its day in a folder: what a pass's requests produce is held until
// the pass ends; then the journal and each flow the pass touched take one write, and only then
// are the requests answered and the packages handed out. A pass that changes nothing writes
// nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "DayFolderSupport.h"
#include "api/ApiTestSupport.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::uintmax_t> Sizes(const fs::path& folder) {
    std::map<std::string, std::uintmax_t> sizes;
    for (const auto& entry : fs::directory_iterator(folder))
        sizes[entry.path().filename().string()] = entry.file_size();
    return sizes;
}

// The files whose size differs between two listings.
std::vector<std::string> Grown(const std::map<std::string, std::uintmax_t>& before,
                               const std::map<std::string, std::uintmax_t>& after) {
    std::vector<std::string> grown;
    for (const auto& [name, size] : after) {
        const auto found = before.find(name);
        if (found == before.end() || found->second != size) grown.push_back(name);
    }
    return grown;
}

class ExchangePassTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        day = std::make_unique<CExchangeHarness>(DemoDayToml(), "day");
        day->LoginTrader(1, "00010001", "trader1");
        day->LoginTrader(2, "00020001", "trader3");
        day->LoginMonitor(3);
        for (const SessionId session : {1u, 2u, 3u}) day->Drain(session);
    }
    // A buy of trader 00010001 and a sell of 00020001 that match, handed in the current pass.
    void HandAMatch() {
        day->Hand(1, tid::ReqYqOrder, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 4, 1));
        day->Hand(2, tid::ReqYqOrder, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 4, 1));
    }

    std::unique_ptr<CExchangeHarness> day;
};

TEST_F(ExchangePassTest, NothingIsAnsweredOrHandedOutBeforeThePassIsWrittenWithOneWritePerFile) {
    const std::uint64_t writes = day->exchange->FileWrites();
    const auto before = Sizes("day");
    HandAMatch();
    for (const SessionId session : {1u, 2u, 3u}) {
        EXPECT_TRUE(day->TakeDialog(session).empty()) << session;
        EXPECT_TRUE(day->Drain(session).empty()) << session;
    }
    EXPECT_EQ(Sizes("day"), before);
    EXPECT_EQ(day->exchange->FileWrites(), writes);

    day->exchange->EndPass();
    // The journal and every flow the two orders touched, each written once.
    const std::vector<std::string> grown = Grown(before, Sizes("day"));
    EXPECT_EQ(grown, (std::vector<std::string>{"market.con", "monitor-private.con", "private-00010001.con",
                                               "private-00020001.con", "requests.con"}));
    EXPECT_EQ(day->exchange->FileWrites() - writes, grown.size());
    EXPECT_EQ(day->Answer(1).RspCode(), "RSP000000");
    EXPECT_EQ(day->Answer(2).RspCode(), "RSP000000");
    EXPECT_EQ(OfType(day->Drain(1), tid::RtnYqMatch).size(), 1u);
    EXPECT_EQ(OfType(day->Drain(3), tid::RtnYqMatch).size(), 2u);
}

TEST_F(ExchangePassTest, APassThatChangesNothingWritesNothingAndIsAnsweredAtOnce) {
    const std::uint64_t writes = day->exchange->FileWrites();
    const auto before = Sizes("day");
    day->exchange->EndPass();
    day->Hand(1, tid::ReqQryYqOrder, TReqQryOrder{});
    EXPECT_FALSE(day->TakeDialog(1).empty());  // a query needs nothing written
    day->exchange->EndPass();
    day->LoginTrader(4, "00010002", "trader2");
    EXPECT_EQ(day->exchange->FileWrites(), writes);
    EXPECT_EQ(Sizes("day"), before);
}

TEST_F(ExchangePassTest, ALogoutAfterAnOrderInOnePassEndsTheSessionAfterBothAnswers) {
    day->Hand(1, tid::ReqYqOrder, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 4, 1));
    TReqTraderLogout logout{};
    SetText(logout.traderID, "00010001");
    day->Hand(1, tid::ReqTraderLogout, logout);
    EXPECT_TRUE(day->output.ended.empty());
    EXPECT_TRUE(day->TakeDialog(1).empty());

    day->exchange->EndPass();
    const std::vector<CReceived> answers = day->TakeDialog(1);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].Tid(), tid::RspYqOrder);
    EXPECT_EQ(answers[1].Tid(), tid::RspTraderLogout);
    EXPECT_EQ(day->output.ended, std::vector<SessionId>{1});
}

TEST_F(ExchangePassTest, ALoginInAPassThatHoldsPackagesCatchesUpOnceTheyAreWritten) {
    HandAMatch();
    TReqTraderLogin login{};
    SetText(login.traderID, "00010002");
    SetText(login.memberID, "0001");
    SetText(login.password, quorex::PasswordDigest("trader2"));
    day->Hand(4, tid::ReqTraderLogin, login, TSequencePoint{3, 0}, TSequencePoint{2, 0}, TSequencePoint{4, 0});
    EXPECT_TRUE(day->TakeDialog(4).empty());
    EXPECT_TRUE(day->Drain(4).empty());  // the market flow's new packages are not on disk yet

    day->exchange->EndPass();
    EXPECT_EQ(day->TakeDialog(4).front().RspCode(), "RSP000000");
    const std::vector<CReceived> caughtUp = day->Drain(4);
    ASSERT_FALSE(caughtUp.empty());
    EXPECT_FALSE(OfType(caughtUp, tid::YqQuotation).empty());
    EXPECT_EQ(caughtUp.back().Tid(), tid::ReqStandardDataSendOver);
}

}  // namespace
}  // namespace quorex::sim::test
