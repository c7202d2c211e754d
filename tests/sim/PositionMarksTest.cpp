// Open lots marked to market in the position and capital answers: at the reference price before
// an instrument's first trade, at the last trade price after it, the capital's floating fields
// summing its account's sides, a transfer booking what the mark showed, and the same figures
// again after a restart from the request journal.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "ExchangeHarness.h"
#include "api/ApiTestSupport.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

// An amount or price as the desktop writes it with two decimals.
std::string TwoDecimals(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

struct CTraderLogin {
    const char* trader;  // also its client's code
    const char* password;
    SessionId session;
};
// Member 0001's own (00010001) and agency (00010002) accounts, member 0002 and the maker of 0009.
constexpr CTraderLogin kTraders[] = {
    {"00010001", "trader1", 1}, {"00020001", "trader3", 2}, {"00010002", "trader2", 4}, {"00090001", "maker9", 5}};
constexpr SessionId kMonitor = 3;

// A demo day with every trader logged in; the answers are read as a monitor, who sees every member.
class CMarkedDay {
public:
    explicit CMarkedDay(std::string_view toml = DemoDayToml(), const std::filesystem::path& dataDir = {})
        : harness(toml, dataDir) {
        for (const CTraderLogin& login : kTraders) {
            EXPECT_EQ(harness.LoginTrader(login.session, login.trader, login.password).RspCode(), "RSP000000");
        }
        harness.LoginMonitor(kMonitor);
    }

    // The seller's order rests, the buyer's matches it: one trade of amount lots at price.
    void Trade(const char* buyer, const char* seller, double price, int amount, const char* instID = "000001",
               char buyerOffset = kOpen, char sellerOffset = kOpen) {
        EXPECT_EQ(Place(seller, kSell, price, amount, instID, sellerOffset), "RSP000000");
        EXPECT_EQ(Place(buyer, kBuy, price, amount, instID, buyerOffset), "RSP000000");
    }
    std::string Place(const char* trader, char side, double price, int amount, const char* instID, char offset) {
        return harness.Place(SessionOf(trader), CExchangeHarness::Order(trader, trader, instID, side, price, amount,
                                                                        ++m_localOrderNo[trader], offset))
            .RspCode();
    }

    std::vector<TYqMemberPosi> MemberPositions() { return Query<TYqMemberPosi>(tid::ReqQryYqMemberPosi, TReqQryMemberPosi{}); }
    std::vector<TMemberCapital> Capitals() { return Query<TMemberCapital>(tid::ReqQryMemberCapital, TReqQryMemberCapital{}); }
    TYqMemberPosi MemberPosition(const char* member, const char* instID = "000001", char accountType = '0') {
        for (const TYqMemberPosi& position : MemberPositions()) {
            if (FieldText(position.memberID) == member && FieldText(position.instID) == instID && position.accountType == accountType) {
                return position;
            }
        }
        ADD_FAILURE() << "no position of member " << member << " in " << instID;
        return {};
    }
    TMemberCapital Capital(const char* member, char accountType = '0') {
        for (const TMemberCapital& capital : Capitals()) {
            if (FieldText(capital.memberID) == member && capital.accountType == accountType) return capital;
        }
        ADD_FAILURE() << "no capital of member " << member;
        return {};
    }

    CExchangeHarness harness;

private:
    static SessionId SessionOf(std::string_view trader) {
        for (const CTraderLogin& login : kTraders) {
            if (trader == login.trader) return login.session;
        }
        ADD_FAILURE() << "trader " << trader << " is not logged in";
        return 0;
    }
    template <class Record, class Filter>
    std::vector<Record> Query(std::uint32_t tid, const Filter& filter) {
        harness.Send(kMonitor, tid, filter);
        std::vector<Record> all;
        for (const CReceived& package : harness.TakeDialog(kMonitor)) {
            EXPECT_EQ(package.RspCode(), "RSP000000");
            for (const Record& record : package.Records<Record>()) all.push_back(record);
        }
        return all;
    }

    std::map<std::string, long long> m_localOrderNo;
};

// The demo day opens with member 0001 long 20 lots of LW2601 at 3480 and member 0002 short 20 at
// 3490; the reference price is 3500 and a lot is 10 units.
TEST(PositionMarks, BeforeTheFirstTradeOpenLotsAreMarkedAtTheReferencePrice) {
    CMarkedDay day;
    const TYqMemberPosi longHolder = day.MemberPosition("0001");
    EXPECT_DOUBLE_EQ(longHolder.longDummyProfit, 4000);  // (3500 - 3480) * 20 * 10
    EXPECT_DOUBLE_EQ(longHolder.shortDummyProfit, 0);
    EXPECT_DOUBLE_EQ(longHolder.dummyProfit, 4000);
    const TYqMemberPosi shortHolder = day.MemberPosition("0002");
    EXPECT_DOUBLE_EQ(shortHolder.longDummyProfit, 0);
    EXPECT_DOUBLE_EQ(shortHolder.shortDummyProfit, -2000);  // (3490 - 3500) * 20 * 10
    EXPECT_DOUBLE_EQ(shortHolder.dummyProfit, -2000);

    const TMemberCapital gaining = day.Capital("0001");
    EXPECT_DOUBLE_EQ(gaining.todayPseudoReturn, 4000);
    EXPECT_DOUBLE_EQ(gaining.todayPseudoLost, 0);
    const TMemberCapital losing = day.Capital("0002");
    EXPECT_DOUBLE_EQ(losing.todayPseudoReturn, 0);
    EXPECT_DOUBLE_EQ(losing.todayPseudoLost, 2000);  // a loss is a positive amount
    // Nothing held, nothing floating; the available balance leaves the floating profit out.
    const TMemberCapital agency = day.Capital("0001", '1');
    EXPECT_DOUBLE_EQ(agency.todayPseudoReturn, 0);
    EXPECT_DOUBLE_EQ(agency.todayPseudoLost, 0);
    EXPECT_DOUBLE_EQ(gaining.todayBalance, day.harness.exchange->Accounts().Capital("0001", '0')->todayBalance);
}

TEST(PositionMarks, ALongAndAShortFollowTheLastPrice) {
    CMarkedDay day;
    // One more lot each at 3510: 21 long at 73110 / 21 = 3481.43 and 21 short at 73310 / 21.
    day.Trade("00010001", "00020001", 3510, 1);
    TYqMemberPosi longHolder = day.MemberPosition("0001");
    ASSERT_EQ(longHolder.longPosi, 21);
    EXPECT_EQ(TwoDecimals(longHolder.longTurnOver / longHolder.longPosi), "3481.43");
    EXPECT_NEAR(longHolder.longDummyProfit, 6000, 1e-6);  // (3510 - 3481.43) * 21 * 10
    EXPECT_EQ(TwoDecimals(longHolder.dummyProfit), "6000.00");
    TYqMemberPosi shortHolder = day.MemberPosition("0002");
    ASSERT_EQ(shortHolder.shortPosi, 21);
    EXPECT_NEAR(shortHolder.shortDummyProfit, -4000, 1e-6);  // (3490.95 - 3510) * 21 * 10
    EXPECT_EQ(TwoDecimals(shortHolder.dummyProfit), "-4000.00");

    // A later trade between two other accounts moves the last price to 3515; the lots stay.
    day.Trade("00090001", "00010002", 3515, 1);
    longHolder = day.MemberPosition("0001");
    EXPECT_EQ(longHolder.longPosi, 21);
    EXPECT_NEAR(longHolder.dummyProfit, 7050, 1e-6);
    EXPECT_EQ(TwoDecimals(longHolder.dummyProfit), "7050.00");
    shortHolder = day.MemberPosition("0002");
    EXPECT_NEAR(shortHolder.dummyProfit, -5050, 1e-6);
    EXPECT_EQ(TwoDecimals(shortHolder.dummyProfit), "-5050.00");
    // Who traded at the last price holds nothing floating.
    EXPECT_NEAR(day.MemberPosition("0001", "000001", '1').shortDummyProfit, 0, 1e-9);
    EXPECT_NEAR(day.MemberPosition("0009").longDummyProfit, 0, 1e-9);

    EXPECT_NEAR(day.Capital("0001").todayPseudoReturn, 7050, 1e-6);
    EXPECT_NEAR(day.Capital("0002").todayPseudoLost, 5050, 1e-6);
    // Another instrument's trade leaves these marks alone.
    day.Trade("00010002", "00090001", 3720, 1, "000002");
    EXPECT_NEAR(day.MemberPosition("0001").dummyProfit, 7050, 1e-6);
}

TEST(PositionMarks, AnAccountSumsItsGainingAndLosingSidesApart) {
    // Member 0001's own account also holds 7 lots of XC2603 bought at 3601.43 on average
    // (reference price 3600) and 3 sold at 3590: a loss of 100.10 and a loss of 300.
    std::string toml(DemoDayToml());
    toml += "\n[[position]]\nclientID = \"00010001\"\ninstID = \"000003\"\nlongPosi = 7\nlongPrice = 3601.43\n"
            "shortPosi = 3\nshortPrice = 3590.0\n";
    CMarkedDay day(toml);
    const TYqMemberPosi wire = day.MemberPosition("0001", "000003");
    EXPECT_EQ(TwoDecimals(wire.longDummyProfit), "-100.10");
    EXPECT_EQ(TwoDecimals(wire.shortDummyProfit), "-300.00");
    EXPECT_EQ(TwoDecimals(wire.dummyProfit), "-400.10");

    const TMemberCapital capital = day.Capital("0001");
    EXPECT_EQ(TwoDecimals(capital.todayPseudoReturn), "4000.00");  // LW2601's long lots
    EXPECT_EQ(TwoDecimals(capital.todayPseudoLost), "400.10");
    double floating = 0;
    for (const TYqMemberPosi& position : day.MemberPositions()) {
        if (FieldText(position.memberID) == "0001" && position.accountType == '0') floating += position.dummyProfit;
    }
    EXPECT_NEAR(capital.todayPseudoReturn - capital.todayPseudoLost, floating, 1e-6);
}

TEST(PositionMarks, ATransferAtTheMarkBooksWhatTheMarkShowed) {
    CMarkedDay day;
    const double longMark = day.MemberPosition("0001").dummyProfit;
    const double shortMark = day.MemberPosition("0002").dummyProfit;
    // Both holdings are transferred whole at the reference price, which the marks used.
    day.Trade("00020001", "00010001", 3500, 20, "000001", kOffset, kOffset);
    EXPECT_DOUBLE_EQ(day.Capital("0001").profit, longMark);
    EXPECT_DOUBLE_EQ(day.Capital("0002").profit, shortMark);
    const TYqMemberPosi closed = day.MemberPosition("0001");
    EXPECT_EQ(closed.longPosi, 0);
    EXPECT_DOUBLE_EQ(closed.dummyProfit, 0);
    EXPECT_DOUBLE_EQ(day.Capital("0001").todayPseudoReturn, 0);
    EXPECT_DOUBLE_EQ(day.Capital("0002").todayPseudoLost, 0);
}

class PositionMarksRestartTest : public quorex::test::CWorkingDirectoryTest {};

TEST_F(PositionMarksRestartTest, ADayCarriedOnFromItsJournalMarksTheSame) {
    auto day = std::make_unique<CMarkedDay>(DemoDayToml(), "day");
    day->Trade("00010001", "00020001", 3510, 1);
    day->Trade("00090001", "00010002", 3517, 2);
    day->Trade("00010002", "00090001", 3688, 3, "000002");
    const std::vector<TYqMemberPosi> positions = day->MemberPositions();
    const std::vector<TMemberCapital> capitals = day->Capitals();
    ASSERT_FALSE(positions.empty());

    day.reset();
    day = std::make_unique<CMarkedDay>(DemoDayToml(), "day");
    ASSERT_TRUE(day->harness.exchange->Restored().resumed);
    const std::vector<TYqMemberPosi> replayed = day->MemberPositions();
    ASSERT_EQ(replayed.size(), positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        EXPECT_EQ(replayed[i].longDummyProfit, positions[i].longDummyProfit) << i;
        EXPECT_EQ(replayed[i].shortDummyProfit, positions[i].shortDummyProfit) << i;
        EXPECT_EQ(replayed[i].dummyProfit, positions[i].dummyProfit) << i;
    }
    const std::vector<TMemberCapital> replayedCapitals = day->Capitals();
    ASSERT_EQ(replayedCapitals.size(), capitals.size());
    for (std::size_t i = 0; i < capitals.size(); ++i) {
        EXPECT_EQ(replayedCapitals[i].todayPseudoReturn, capitals[i].todayPseudoReturn) << i;
        EXPECT_EQ(replayedCapitals[i].todayPseudoLost, capitals[i].todayPseudoLost) << i;
    }
}

}  // namespace
}  // namespace quorex::sim::test
