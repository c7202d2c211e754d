// Queries: what a trader and a monitor see, and answers split over several packages.
#include <gtest/gtest.h>

#include "ExchangeHarness.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

class ExchangeQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.LoginTrader(1, "00010001", "trader1");
        harness.LoginTrader(2, "00020001", "trader3");
        harness.LoginMonitor(3);
    }
    // Sends a query and returns all answer packages.
    template <class Filter>
    std::vector<CReceived> Query(SessionId session, std::uint32_t tid, const Filter& filter) {
        harness.Send(session, tid, filter);
        return harness.TakeDialog(session);
    }
    template <class Record, class Filter>
    std::vector<Record> QueryRecords(SessionId session, std::uint32_t tid, const Filter& filter) {
        std::vector<Record> all;
        for (const CReceived& package : Query(session, tid, filter)) {
            EXPECT_EQ(package.RspCode(), "RSP000000");
            for (const Record& record : package.Records<Record>()) all.push_back(record);
        }
        return all;
    }

    CExchangeHarness harness;
};

TEST_F(ExchangeQueryTest, ALargeAnswerIsChainedAndKeepsItsOrder) {
    for (int i = 1; i <= 40; ++i) {
        harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3300 + i, 1, i));
    }
    TReqQryOrder filter{};
    const std::vector<CReceived> answer = Query(1, tid::ReqQryYqOrder, filter);
    ASSERT_EQ(answer.size(), 2u);
    EXPECT_EQ(answer[0].Header().Chain, 'N');
    EXPECT_EQ(answer[1].Header().Chain, 'L');
    std::vector<std::string> numbers;
    for (const CReceived& package : answer) {
        EXPECT_EQ(package.Tid(), tid::RspQryYqOrder);
        EXPECT_EQ(package.RspCode(), "RSP000000");  // every package carries the response field
        EXPECT_STREQ(package.Header().RootID, "req1");
        for (const TYqOrder& order : package.Records<TYqOrder>()) numbers.emplace_back(FieldText(order.orderNo));
    }
    ASSERT_EQ(numbers.size(), 40u);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(numbers[i], "260105" + std::string(7 - (i + 1 >= 10), '0') + std::to_string(i + 1));
}

TEST_F(ExchangeQueryTest, AnEmptyAnswerIsOnePackageWithOnlyTheResponseField) {
    TReqQryOrder filter{};
    SetText(filter.instID, "000003");
    const std::vector<CReceived> answer = Query(1, tid::ReqQryYqOrder, filter);
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0].Header().Chain, 'S');
    EXPECT_EQ(answer[0].RspCode(), "RSP000000");
    EXPECT_TRUE(answer[0].Records<TYqOrder>().empty());
}

TEST_F(ExchangeQueryTest, ATraderSeesItsOwnMemberAndAMonitorTheWholeExchange) {
    harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 2, 1));
    harness.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 2, 1));
    TReqQryMatch matches{};
    EXPECT_EQ((QueryRecords<TYqMatch>(1, tid::ReqQryYqMatch, matches).size()), 1u);
    SetText(matches.memberID, "0002");  // asking for another member gives nothing
    EXPECT_TRUE((QueryRecords<TYqMatch>(1, tid::ReqQryYqMatch, matches).empty()));
    TReqQryYqMatch4M all{};
    EXPECT_EQ((QueryRecords<TYqMatch>(3, tid::ReqQryYqMatch4M, all).size()), 2u);
    all.buyOrSell = 's';
    EXPECT_EQ((QueryRecords<TYqMatch>(3, tid::ReqQryYqMatch4M, all).size()), 1u);

    TReqQryMemberCapital capital{};
    const std::vector<TMemberCapital> own = QueryRecords<TMemberCapital>(1, tid::ReqQryMemberCapital, capital);
    ASSERT_EQ(own.size(), 2u);  // member 0001's own and agency accounts
    for (const TMemberCapital& record : own) EXPECT_STREQ(record.memberID, "0001");
    EXPECT_EQ((QueryRecords<TMemberCapital>(3, tid::ReqQryMemberCapital, capital).size()), 4u);

    TReqQryYqOrder4M orders{};
    orders.priceMin = 3500;
    orders.priceMax = 3500;
    EXPECT_EQ((QueryRecords<TYqOrder>(3, tid::ReqQryYqOrder4M, orders).size()), 2u);
    orders.priceMin = 3501;
    EXPECT_TRUE((QueryRecords<TYqOrder>(3, tid::ReqQryYqOrder4M, orders).empty()));
}

TEST_F(ExchangeQueryTest, PositionsOfClientsAndTheirMember) {
    harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 4, 1));
    harness.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 4, 1));
    TReqQryClientPosi clientFilter{};
    const std::vector<TYqClientPosi> clients = QueryRecords<TYqClientPosi>(1, tid::ReqQryYqClientPosi, clientFilter);
    ASSERT_EQ(clients.size(), 1u);
    EXPECT_EQ(clients[0].longPosi, 24);
    EXPECT_EQ(clients[0].lastLong, 20);
    EXPECT_EQ(clients[0].todayLong, 4);
    TReqQryMemberPosi memberFilter{};
    SetText(memberFilter.instID, "000001");
    const std::vector<TYqMemberPosi> members = QueryRecords<TYqMemberPosi>(1, tid::ReqQryYqMemberPosi, memberFilter);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].longPosi, 24);
    EXPECT_DOUBLE_EQ(members[0].longTurnOver, 3480.0 * 20 + 3500.0 * 4);  // average price = turnover / lots
}

TEST_F(ExchangeQueryTest, IndenturesOfAClientAndOfAnInstrument) {
    TReqQryElctIndenture filter{};
    EXPECT_EQ((QueryRecords<TElctIndenture>(1, tid::ReqQryElctIndenture, filter).size()), 2u);
    EXPECT_EQ((QueryRecords<TElctIndenture>(3, tid::ReqQryElctIndenture, filter).size()), 3u);
    TReqQryInstElctIndent byInstrument{};
    SetText(byInstrument.instID, "000001");
    const std::vector<TElctIndenture> rebar = QueryRecords<TElctIndenture>(1, tid::ReqQryYqInstElctIndent, byInstrument);
    ASSERT_EQ(rebar.size(), 1u);
    EXPECT_STREQ(rebar[0].indentNo, "E000000001");
    EXPECT_EQ((QueryRecords<TElctIndenture>(3, tid::ReqQryYqInstElctIndent, byInstrument).size()), 2u);
}

TEST_F(ExchangeQueryTest, QuotationsOfTheDayAndOfThePreviousDay) {
    TReqQryQuotation filter{};
    const std::vector<TYqQuotation> quotations = QueryRecords<TYqQuotation>(1, tid::ReqQryYqQuotation, filter);
    ASSERT_EQ(quotations.size(), 3u);
    EXPECT_DOUBLE_EQ(quotations[0].lastAverage, 3500);
    EXPECT_EQ(quotations[0].Posi, 20);
    EXPECT_DOUBLE_EQ(quotations[0].lowerPrice, 3150);
    SetText(filter.instID, "000002");
    const std::vector<TYqLastQuotation> last = QueryRecords<TYqLastQuotation>(1, tid::ReqQryYqLastQuotation, filter);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_DOUBLE_EQ(last[0].lastest, 3702);
}

}  // namespace
}  // namespace quorex::sim::test
