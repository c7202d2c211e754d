#include "sim/TradingDay.h"

#include <gtest/gtest.h>

#include <string>

#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"
#include "sim/Text.h"

namespace quorex::sim {
namespace {

std::optional<CTradingDay> Parse(const std::string& toml, std::string& error) {
    return ParseTradingDay(toml, "test.toml", "20260105", error);
}

// The smallest consistent day: one market, member, client, trader and instrument.
std::string MinimalDay(const std::string& extra = "") {
    return R"(
[exchange]
exchangeID = "QRX"
state = "1"
[[market]]
marketID = "01"
marketState = "1"
[[member]]
memberID = "0001"
[[client]]
clientID = "00010001"
memberID = "0001"
accountType = "0"
[[trader]]
traderID = "00010001"
memberID = "0001"
plainPassword = "secret"
[[instrument]]
instID = "000001"
yqInstID = "LW2601"
marketID = "01"
unit = 10
tick = 5.0
minHand = 1
maxHand = 100
lowerLimit = 3000.0
upperLimit = 4000.0
tradeState = "1"
)" + extra;
}

TEST(TradingDayTest, DemoDayLoadsWithTodayAsTradeDate) {
    std::string error;
    const auto day = ParseTradingDay(DemoDayToml(), "demo", "20260105", error);
    ASSERT_TRUE(day) << error;
    EXPECT_EQ(day->tradeDate, "20260105");
    EXPECT_GE(day->traders.size(), 3u);
    EXPECT_GE(day->users.size(), 1u);
    EXPECT_EQ(day->members.size(), 3u);
    EXPECT_EQ(day->instruments.size(), 3u);
    // Passwords are kept as digests only; texts are converted to GBK.
    EXPECT_EQ(FieldText(day->traders[0].password), quorex::PasswordDigest("trader1"));
    EXPECT_EQ(FieldText(day->users[0].password), quorex::PasswordDigest("admin1"));
    EXPECT_EQ(FieldText(day->instruments[0].info.yqName), Utf8ToGbk("螺纹钢2601"));
    EXPECT_DOUBLE_EQ(day->instruments[2].marginRate, 0.12);
    EXPECT_EQ(day->bot.traderID, "00090001");
}

TEST(TradingDayTest, SetsMembersByNameWithTheirTypes) {
    std::string error;
    const auto day = Parse(MinimalDay("trade_date = \"20250101\"\n"), error);
    // trade_date must be a top-level key: appended after a table it belongs to that table.
    EXPECT_FALSE(day);
    const auto top = Parse("trade_date = \"20250101\"\n" + MinimalDay(), error);
    ASSERT_TRUE(top) << error;
    EXPECT_EQ(top->tradeDate, "20250101");
    const TYuanQiInst& info = top->instruments[0].info;
    EXPECT_EQ(info.unit, 10);
    EXPECT_DOUBLE_EQ(info.tick, 5.0);
    EXPECT_EQ(info.tradeState, '1');
    EXPECT_DOUBLE_EQ(top->instruments[0].marginRate, 0.1);  // the default
}

struct BadDay {
    const char* name;
    std::string toml;
    const char* expected;  // part of the error text
};

class TradingDayErrorTest : public ::testing::TestWithParam<BadDay> {};

TEST_P(TradingDayErrorTest, IsRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(Parse(GetParam().toml, error));
    EXPECT_NE(error.find(GetParam().expected), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TradingDayErrorTest,
    ::testing::Values(
        BadDay{"Syntax", "[[member]\n", "test.toml:1"},
        BadDay{"UnknownTopLevelKey", MinimalDay("[[members]]\nmemberID = \"0002\"\n"), "unknown key 'members'"},
        BadDay{"UnknownMember", MinimalDay("[[member]]\nmemberID = \"0002\"\nnickname = \"x\"\n"),
               "[[member]] entry 2: unknown key 'nickname'"},
        BadDay{"TextTooLong", MinimalDay("[[member]]\nmemberID = \"00020\"\n"), "longer than 4 bytes"},
        BadDay{"NumberForText", MinimalDay("[[member]]\nmemberID = 2\n"), "'memberID' must be a text"},
        BadDay{"TextForNumber", MinimalDay("[[capital]]\nmemberID = \"0001\"\naccountType = \"0\"\nlastBalance = \"lots\"\n"),
               "'lastBalance' must be a number"},
        BadDay{"IntegerOutOfRange", MinimalDay("[[warehouse]]\nwarehouseID = 4294967296\n"), "must be an integer"},
        BadDay{"PasswordNotADigest", MinimalDay("[[user]]\nuserID = \"admin\"\npassword = \"admin\"\n"), "MD5 digest"},
        BadDay{"NoPassword", MinimalDay("[[trader]]\ntraderID = \"00010009\"\nmemberID = \"0001\"\n"), "[[trader]] entry 2 ('00010009'): 'plainPassword' (or 'password') is missing"},
        BadDay{"DuplicateClient", MinimalDay("[[client]]\nclientID = \"00010001\"\nmemberID = \"0001\"\naccountType = \"0\"\n"),
               "[[client]] entry 2: 'clientID' \"00010001\" is defined twice (also by entry 1)"},
        BadDay{"ClientOfUnknownMember", MinimalDay("[[client]]\nclientID = \"00050001\"\nmemberID = \"0005\"\naccountType = \"0\"\n"),
               "unknown member"},
        BadDay{"LimitOffTick", MinimalDay("[[instrument]]\ninstID = \"000002\"\nyqInstID = \"X\"\nmarketID = \"01\"\nunit = 1\n"
                                          "tick = 5.0\nminHand = 1\nmaxHand = 1\nlowerLimit = 3001.0\nupperLimit = 4000.0\n"
                                          "tradeState = \"1\"\n"),
               "limits must be on the tick"},
        BadDay{"MissingTick", MinimalDay("[[instrument]]\ninstID = \"000002\"\nyqInstID = \"X\"\nmarketID = \"01\"\nunit = 1\n"
                                         "minHand = 1\nmaxHand = 1\nlowerLimit = 1.0\nupperLimit = 2.0\ntradeState = \"1\"\n"),
               "test.toml: [[instrument]] entry 2: 'tick' is missing"},
        BadDay{"ZeroTick", MinimalDay("[[instrument]]\ninstID = \"000002\"\nyqInstID = \"X\"\nmarketID = \"01\"\nunit = 1\n"
                                      "tick = 0.0\nminHand = 1\nmaxHand = 1\nlowerLimit = 1.0\nupperLimit = 2.0\ntradeState = \"1\"\n"),
               "[[instrument]] entry 2 ('000002'): 'tick' must be above 0"},
        BadDay{"MissingCode", MinimalDay("[[instrument]]\nyqInstID = \"X\"\nmarketID = \"01\"\nunit = 1\ntick = 1.0\n"
                                         "minHand = 1\nmaxHand = 1\nlowerLimit = 1.0\nupperLimit = 2.0\ntradeState = \"1\"\n"),
               "[[instrument]] entry 2: 'instID' is missing"},
        BadDay{"EmptyCode", MinimalDay("[[member]]\nmemberID = \"\"\n"), "[[member]] entry 2: 'memberID' is empty"},
        BadDay{"MissingExchangeKey", "[exchange]\nexchangeID = \"QRX\"\n", "[exchange]: 'state' is missing"},
        BadDay{"ChineseTextTooLong", MinimalDay("[[last_quotation]]\ninstID = \"000001\"\nyqName = \"螺纹钢螺纹钢2\"\n"),
               "[[last_quotation]] entry 1: 'yqName' is 13 bytes in GBK, longer than 12 bytes (6 Chinese characters)"},
        BadDay{"ImpossibleMonth", "trade_date = \"20261340\"\n" + MinimalDay(),
               "trade_date: 20261340 is not a date YYYYMMDD (there is no month 13)"},
        BadDay{"ImpossibleDay", "trade_date = \"20260230\"\n" + MinimalDay(),
               "trade_date: 20260230 is not a date YYYYMMDD (February 2026 has days 01 to 28)"},
        BadDay{"NoLeapDayIn2100", "trade_date = \"21000229\"\n" + MinimalDay(), "(February 2100 has days 01 to 28)"},
        BadDay{"YearZero", "trade_date = \"00000000\"\n" + MinimalDay(), "(there is no year 0000)"},
        BadDay{"PositionOfUnknownInstrument", MinimalDay("[[position]]\nclientID = \"00010001\"\ninstID = \"999999\"\nlongPosi = 1\n"),
               "unknown instrument"},
        BadDay{"IndentureOfOtherMember",
               MinimalDay("[[member]]\nmemberID = \"0002\"\n[[indenture]]\nindentNo = \"E1\"\nclientID = \"00010001\"\nmemberID = \"0002\"\n"),
               "[[indenture]] entry 1 ('E1'): 'clientID' names no client of the entry's member"},
        BadDay{"BadState", MinimalDay("[[market]]\nmarketID = \"02\"\nmarketState = \"x\"\n"), "marketState"},
        BadDay{"BadDate", "trade_date = \"2026-01-05\"\n" + MinimalDay(), "YYYYMMDD"},
        BadDay{"RefPriceAboveLimits",
               MinimalDay("[[instrument]]\ninstID = \"000002\"\nyqInstID = \"X\"\nmarketID = \"01\"\nunit = 1\ntick = 5.0\n"
                          "minHand = 1\nmaxHand = 1\nlowerLimit = 3000.0\nupperLimit = 4000.0\nrefPrice = 4005.0\ntradeState = \"1\"\n"),
               "[[instrument]] entry 2 ('000002'): 'refPrice' must lie within"},
        BadDay{"RefPriceBelowLimits",
               MinimalDay("[[instrument]]\ninstID = \"000002\"\nyqInstID = \"X\"\nmarketID = \"01\"\nunit = 1\ntick = 5.0\n"
                          "minHand = 1\nmaxHand = 1\nlowerLimit = 3000.0\nupperLimit = 4000.0\nrefPrice = -1.0\ntradeState = \"1\"\n"),
               "[[instrument]] entry 2 ('000002'): 'refPrice' must lie within"},
        BadDay{"LastQuotationOutsideLimits", MinimalDay("[[last_quotation]]\ninstID = \"000001\"\naverage = 2990.0\n"),
               "[[last_quotation]] entry 1 ('000001'): 'average' must lie within"},
        BadDay{"TextNotInGbk", MinimalDay("[[member]]\nmemberID = \"0002\"\nmemName = \"\U0001F600\"\n"),
               "[[member]] entry 2: 'memName': the text cannot be expressed in GBK"}),
    [](const ::testing::TestParamInfo<BadDay>& entry) { return entry.param.name; });

TEST(TradingDayTest, PricesAtTheLimitsAndChineseTextsAreAccepted) {
    std::string error;
    const auto day = Parse(MinimalDay("[[last_quotation]]\ninstID = \"000001\"\naverage = 4000.0\nyqName = \"螺纹钢\"\n"), error);
    ASSERT_TRUE(day) << error;
    EXPECT_EQ(GbkToUtf8(FieldText(day->lastQuotations[0].yqName)), "螺纹钢");
    EXPECT_TRUE(Parse(MinimalDay("[[instrument]]\ninstID = \"000002\"\nyqInstID = \"X\"\nmarketID = \"01\"\nunit = 1\n"
                                 "tick = 5.0\nminHand = 1\nmaxHand = 1\nlowerLimit = 3000.0\nupperLimit = 4000.0\n"
                                 "refPrice = 3000.0\ntradeState = \"1\"\n"),
                      error))
        << error;
}

TEST(TradingDayTest, TradeDatesAreDatesOfTheCalendar) {
    std::string why;
    for (const char* date : {"20260105", "20240229", "20000229", "20261231", "00010101"}) EXPECT_TRUE(IsTradeDate(date, why)) << date;
    EXPECT_FALSE(IsTradeDate("20260431", why));
    EXPECT_EQ(why, "April 2026 has days 01 to 30");
    EXPECT_FALSE(IsTradeDate("20260100", why));
    EXPECT_EQ(why, "January 2026 has days 01 to 31");
    EXPECT_FALSE(IsTradeDate("2026010", why));
    EXPECT_EQ(why, "");
    EXPECT_FALSE(IsTradeDate("2026-1-5", why));
}

TEST(TradingDayTest, MissingFileIsReported) {
    std::string error;
    EXPECT_FALSE(LoadTradingDay("/nonexistent/day.toml", "20260105", error));
    EXPECT_NE(error.find("cannot be read"), std::string::npos);
}

}  // namespace
}  // namespace quorex::sim
