#include "client/pages/PagePosition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/ClientTestSupport.h"
#include "client/pages/MarketPagesTestSupport.h"

namespace kvt::test {
namespace {

TYqClientPosi Client(const char* clientID, const char* instID, int longPosi, int shortPosi = 0, int indentPosi = 0) {
    TYqClientPosi position{};
    quorex::SetText(position.clientID, clientID);
    quorex::SetText(position.instID, instID);
    quorex::SetText(position.memberID, "0001");
    position.accountType = '1';
    position.longPosi = longPosi;
    position.shortPosi = shortPosi;
    position.indentPosi = indentPosi;
    return position;
}

TYqMemberPosi Member(const char* instID, int longPosi, int shortPosi, double dummyProfit = 0) {
    TYqMemberPosi position{};
    quorex::SetText(position.memberID, "0001");
    quorex::SetText(position.instID, instID);
    position.accountType = '0';
    position.longPosi = longPosi;
    position.shortPosi = shortPosi;
    position.dummyProfit = dummyProfit;
    return position;
}

class PagePositionTest : public testing::Test {
protected:
    PagePositionTest() {
        harness.LogIn("00010001", "0001");
        instruments.Add("000001", "HRB0601");
        instruments.Add("000002", "WRC0602");
        harness.api.SetInstrumentTable(&instruments.table);
        page.OnMessage(WM_PAGE_REFRESH, 0, 0);
    }
    ~PagePositionTest() override { harness.api.SetInstrumentTable(nullptr); }

    void Deliver(const TYqClientPosi& position, const TTRspMsg& rsp = Response()) {
        page.onRecvRspQryYqClientPosi(&position, rsp);
    }
    void Deliver(const TYqMemberPosi& position, const TTRspMsg& rsp = Response()) {
        page.onRecvRspQryYqMemberPosi(&position, rsp);
    }
    // Columns 0 to 7 of a row, joined by '|'.
    std::string Row(int row) const {
        std::string text;
        for (int column = 0; column < 8; ++column) text += (column > 0 ? "|" : "") + page.CellText(row, column);
        return text;
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int row = 0; row < page.RowCount(); ++row) rows.push_back(Row(row));
        return rows;
    }

    CClientHarness harness;
    CInstrumentList instruments;
    CRecordedPrefill prefill;
    CPagePosition page{harness.api, harness.requests, &prefill};
    CRowCountMirror mirror{page};
};

using RowTexts = std::vector<std::string>;

TEST_F(PagePositionTest, RefreshEmptiesThePageAndAsksForMemberThenClientPositionsOfTheTrader) {
    Deliver(Member("000001", 5, 0));
    Deliver(Client("00010011", "000001", 2));
    harness.requests.calls.clear();
    page.OnMessage(WM_PAGE_REFRESH, 0, 0);

    EXPECT_EQ(page.RowCount(), 0);
    EXPECT_EQ(mirror.Count(), 0);
    EXPECT_EQ(harness.requests.calls, (std::vector<std::string>{"ReqQryYqMemberPosi", "ReqQryYqClientPosi"}));
    const TReqQryMemberPosi& member = harness.requests.memberPosiQueries.back();
    EXPECT_EQ(quorex::FieldText(member.memberID), "0001");
    EXPECT_EQ(quorex::FieldText(member.traderID), "00010001");
    EXPECT_EQ(quorex::FieldText(member.instID), "");
    const TReqQryClientPosi& client = harness.requests.clientPosiQueries.back();
    EXPECT_EQ(quorex::FieldText(client.memberID), "0001");
    EXPECT_EQ(quorex::FieldText(client.traderID), "00010001");
    EXPECT_EQ(quorex::FieldText(client.clientID), "");
    EXPECT_EQ(quorex::FieldText(client.instID), "");

    // The stores were emptied too: the old member position no longer makes a subtotal.
    Deliver(Client("00010011", "000001", 2));
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010011|2||0||0|", "|合计||||||"}));
}

TEST_F(PagePositionTest, FirstMemberPositionMakesTheTotalRowAndClientRowsGoAboveItWithTheirSubtotal) {
    TYqMemberPosi member = Member("000001", 10, 4, 1234.6);
    member.manualLongFrozen = 2;
    member.manualShortFrozen = 1;
    member.longTurnOver = 42000;
    member.shortTurnOver = 20000;
    Deliver(member);
    EXPECT_EQ(Rows(), (RowTexts{"|合计||||||"}));

    Deliver(Client("00010011", "000001", 3, 1, 2));
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010011|3||1||2|", "|小计|12|3500.00|5|4000.00||1235", "|合计|12||5|||1235"}));
    EXPECT_EQ(mirror.insertedAt, (std::vector<int>{0, 0}));
}

TEST_F(PagePositionTest, ClientsOfOneInstrumentSitTogetherWithOneSubtotalAndANewInstrumentGoesLast) {
    Deliver(Member("000001", 5, 0));
    Deliver(Member("000002", 0, 7));
    Deliver(Client("00010011", "000001", 1));
    Deliver(Client("00010012", "000002", 0, 2));
    Deliver(Client("00010013", "000001", 3));
    Deliver(Client("00010014", "000001", 4));
    // A further client of an instrument takes the place of its last client row.
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010013|3||0||0|", "HRB0601|00010014|4||0||0|",
                            "HRB0601|00010011|1||0||0|", "|小计|5|0.00|0|0.00||0",
                            "WRC0602|00010012|0||2||0|", "|小计|0|0.00|7|0.00||0", "|合计|5||7|||0"}));
    EXPECT_EQ(quorex::FieldText(page.ClientPosition(1)->clientID), "00010014");
    EXPECT_EQ(page.ClientPosition(3), nullptr);
    EXPECT_EQ(page.ClientPosition(6), nullptr);
}

TEST_F(PagePositionTest, PositionsHoldingAndFreezingNothingGetNoRow) {
    Deliver(Member("000001", 5, 0));
    TYqClientPosi onlyIndentures = Client("00010011", "000001", 0, 0, 9);
    Deliver(onlyIndentures);
    TYqClientPosi onlyEarnest = Client("00010012", "000001", 0);
    onlyEarnest.earnestPosi = 3;
    onlyEarnest.todayLong = 3;
    Deliver(onlyEarnest);
    EXPECT_EQ(page.RowCount(), 1);

    // Each of the twelve holdings and frozen amounts alone is enough for a row.
    int TYqClientPosi::*const counted[] = {
        &TYqClientPosi::longPosi,           &TYqClientPosi::shortPosi,         &TYqClientPosi::lastLong,
        &TYqClientPosi::lastShort,          &TYqClientPosi::lastManualLongFrozen, &TYqClientPosi::lastManualShortFrozen,
        &TYqClientPosi::longLimitFrozen,    &TYqClientPosi::shortLimitFrozen,  &TYqClientPosi::offsetLongFrozen,
        &TYqClientPosi::offsetShortFrozen,  &TYqClientPosi::manualLongFrozen,  &TYqClientPosi::manualShortFrozen,
    };
    int clients = 0;
    for (int TYqClientPosi::*amount : counted) {
        TYqClientPosi position = Client(("C" + std::to_string(100 + clients)).c_str(), "000001", 0);
        position.*amount = 1;
        Deliver(position);
        EXPECT_EQ(page.RowCount(), 1 + ++clients + 1) << "field " << clients;
    }
}

TEST_F(PagePositionTest, MemberPositionsAfterTheLastClientPositionLeaveTheTotalsUntilTheNextOne) {
    Deliver(Member("000001", 5, 1, 100));
    Deliver(Client("00010011", "000001", 2));
    Deliver(Member("000002", 3, 3, 50));
    EXPECT_EQ(Row(page.RowCount() - 1), "|合计|5||1|||100");

    Deliver(Client("00010012", "000002", 1));
    EXPECT_EQ(Row(page.RowCount() - 1), "|合计|8||4|||150");
}

TEST_F(PagePositionTest, ClientPositionsBeforeAnyMemberPositionGetATotalRowAndNeverTheTotals) {
    Deliver(Client("00010011", "000001", 2, 1));
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010011|2||1||0|", "|合计||||||"}));

    Deliver(Member("000001", 5, 1, 10));
    Deliver(Member("000002", 4, 0, 20));
    Deliver(Client("00010012", "000001", 3));
    // The subtotal of an instrument whose member position came after its first client row stays
    // missing until the next refresh; the client rows keep their own numbers.
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010012|3||0||0|", "HRB0601|00010011|2||1||0|", "|合计|9||1|||30"}));

    // Answered the other way round, the next refresh has the subtotal.
    page.OnMessage(WM_PAGE_REFRESH, 0, 0);
    Deliver(Member("000001", 5, 1, 10));
    Deliver(Client("00010011", "000001", 2, 1));
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010011|2||1||0|", "|小计|5|0.00|1|0.00||10", "|合计|5||1|||10"}));
}

TEST_F(PagePositionTest, RefusedOrForeignMemberPositionsAreNeitherListedNorSummed) {
    const TYqMemberPosi refused = Member("000001", 5, 0);
    Deliver(refused, Response("RSP000001", "查询失败"));
    TYqMemberPosi agency = Member("000001", 6, 0);
    agency.accountType = '1';
    Deliver(agency);
    const TTRspMsg success = Response();
    page.onRecvRspQryYqMemberPosi(nullptr, success);
    EXPECT_EQ(page.RowCount(), 0);

    Deliver(Client("00010011", "000001", 2));
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010011|2||0||0|", "|合计||||||"}));
    Deliver(Client("00010012", "000001", 2), Response("RSP000001"));
    EXPECT_EQ(page.RowCount(), 2);
}

TEST_F(PagePositionTest, AnswersWithAStoredKeyAreUpdatedInPlace) {
    Deliver(Member("000001", 5, 0, 10));
    Deliver(Client("00010011", "000001", 2));
    Deliver(Client("00010011", "000001", 7));
    Deliver(Member("000001", 9, 0, 30));
    EXPECT_EQ(Rows(), (RowTexts{"HRB0601|00010011|7||0||0|", "|小计|9|0.00|0|0.00||30", "|合计|5||0|||10"}));
}

TEST_F(PagePositionTest, MenuOverAClientRowPrefillsATransferFromItsPosition) {
    Deliver(Member("000001", 5, 0));
    Deliver(Client("00010011", "000001", 2));
    ASSERT_EQ(page.MenuItems(0).size(), 2u);
    EXPECT_EQ(page.MenuItems(0)[0], "转让买入");
    EXPECT_EQ(page.MenuItems(0)[1], "转让卖出");
    EXPECT_TRUE(page.MenuItems(1).empty());  // subtotal
    EXPECT_TRUE(page.MenuItems(2).empty());  // total
    EXPECT_TRUE(page.MenuItems(3).empty());

    page.OnMenuItem(0, 0);
    page.OnMenuItem(0, 1);
    page.OnMenuItem(1, 0);
    page.OnMenuItem(0, 2);
    ASSERT_EQ(prefill.fromPositions.size(), 2u);
    EXPECT_EQ(prefill.fromPositions[0].direction, 'b');
    EXPECT_EQ(prefill.fromPositions[1].direction, 's');
    EXPECT_EQ(quorex::FieldText(prefill.fromPositions[1].position.clientID), "00010011");
    EXPECT_EQ(prefill.fromPositions[1].position.longPosi, 2);

    page.SetOrderPrefill(nullptr);
    page.OnMenuItem(0, 0);
    EXPECT_EQ(prefill.fromPositions.size(), 2u);
}

}  // namespace
}  // namespace kvt::test
