// The 成交单 page: matches in arrival order above the "小计" row, repeated matches, the totals
// and the order time taken from the 报单 page.
#include <gtest/gtest.h>

#include "client/ClientTestSupport.h"
#include "TradeTestRecords.h"
#include "client/pages/OrderLookup.h"
#include "client/pages/PageMatch.h"

namespace kvt::test {
namespace {

// Orders by number, as the 报单 page would find them.
class CKnownOrders : public COrderLookup {
public:
    const TYqOrder* FindOrder(std::string_view orderNo) const override {
        for (const TYqOrder& order : orders) {
            if (quorex::FieldText(order.orderNo) == orderNo) return &order;
        }
        return nullptr;
    }
    std::vector<TYqOrder> orders;
};

class PageMatchTest : public ::testing::Test {
protected:
    PageMatchTest() {
        harness.api.SetInstrumentTable(&instruments.table);
        known.orders.push_back(MakeOrder("00000000000101", 'c', "09:12:13"));
        matches.SetObserver(&rows);
    }
    ~PageMatchTest() override { harness.api.SetInstrumentTable(nullptr); }

    void Announce(const TYqMatch& match, const TTRspMsg& rsp = Response()) {
        matches.onRecvRtnYqMatch(&match, rsp);
    }
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int column = 0; column < static_cast<int>(matches.Columns().size()); ++column) {
            cells.push_back(matches.CellText(row, column));
        }
        return cells;
    }
    static std::vector<std::string> Subtotal(const char* volume, const char* profit) {
        std::vector<std::string> cells(15);
        cells[0] = "小计";
        cells[7] = volume;
        cells[9] = profit;
        return cells;
    }

    CClientHarness harness;
    CTestInstruments instruments;
    CKnownOrders known;
    CPageMatch matches{harness.api, known};
    CRowJournal rows;
};

TEST_F(PageMatchTest, ColumnsAreTheFifteenOfTheMatchList) {
    const auto columns = matches.Columns();
    ASSERT_EQ(columns.size(), 15u);
    EXPECT_EQ(columns[0].title, "成交编号");
    EXPECT_EQ(columns[8].title, "履约保证形式");
    EXPECT_EQ(columns[12].title, "报单时间");
    EXPECT_EQ(columns[14].title, "本地报单号");
    EXPECT_EQ(columns[14].width, 120);
    EXPECT_FALSE(matches.HasCheckBoxes());
}

TEST_F(PageMatchTest, SubtotalRowIsThereFromTheStart) {
    ASSERT_EQ(matches.RowCount(), 1);
    EXPECT_EQ(Row(0), Subtotal("0", "0"));
}

TEST_F(PageMatchTest, FirstMatchGoesAboveTheSubtotalWhichThenEqualsIt) {
    Announce(MakeMatch("0000000000000001", 'b', "00000000000101", 7, -1250.0));

    ASSERT_EQ(matches.RowCount(), 2);
    EXPECT_EQ(Row(0), (std::vector<std::string>{"0000000000000001", "00000000000101", "SR0601", "00010001", "买",
                                                 "转让", "2351", "7", "电子货单", "-1250", "20260105", "09:31:00",
                                                 "09:12:13", "00010001", "00000000000042"}));
    EXPECT_EQ(Row(1), Subtotal("7", "-1250"));
    EXPECT_EQ(rows.Take(), (std::vector<std::string>{"insert 0+1", "changed 1-1"}));
}

TEST_F(PageMatchTest, RepeatedMatchRewritesItsRowButNotTheSubtotal) {
    Announce(MakeMatch("0000000000000001", 'b', "00000000000101", 7, 100.0));
    Announce(MakeMatch("0000000000000002", 's', "00000000000101", 3, 50.0));
    rows.Take();

    Announce(MakeMatch("0000000000000001", 'b', "00000000000101", 9, 300.0));

    ASSERT_EQ(matches.RowCount(), 3);
    EXPECT_EQ(matches.CellText(0, 7), "9");
    EXPECT_EQ(matches.CellText(0, 9), "300");
    EXPECT_EQ(Row(2), Subtotal("10", "150"));
    EXPECT_EQ(rows.Take(), (std::vector<std::string>{"changed 0-0"}));
}

TEST_F(PageMatchTest, BothSidesOfOneMatchNumberAreTwoRows) {
    Announce(MakeMatch("0000000000000001", 'b', "00000000000101", 4));
    Announce(MakeMatch("0000000000000001", 's', "00000000000102", 4));
    ASSERT_EQ(matches.MatchCount(), 2);
    EXPECT_EQ(matches.CellText(0, 4), "买");
    EXPECT_EQ(matches.CellText(1, 4), "卖");
    EXPECT_EQ(matches.CellText(2, 7), "8");
}

TEST_F(PageMatchTest, ProfitTotalIsSummedExactlyAndRoundedOnlyForShowing) {
    // Re-reading each rounded total would show 0 after every one of these.
    for (const char* matchNo : {"0000000000000001", "0000000000000002", "0000000000000003"}) {
        Announce(MakeMatch(matchNo, 'b', "00000000000101", 1, 0.4));
    }
    EXPECT_EQ(matches.CellText(0, 9), "0");
    EXPECT_DOUBLE_EQ(matches.TotalProfit(), 1.2);
    EXPECT_EQ(Row(3), Subtotal("3", "1"));
}

TEST_F(PageMatchTest, OrderTimeIsEmptyWhileTheOrderIsUnknown) {
    Announce(MakeMatch("0000000000000001", 'b', "00000000000999"));
    EXPECT_EQ(matches.CellText(0, 1), "00000000000999");
    EXPECT_EQ(matches.CellText(0, 12), "");

    known.orders.push_back(MakeOrder("00000000000999", 'c', "10:00:00"));
    Announce(MakeMatch("0000000000000001", 'b', "00000000000999"));
    EXPECT_EQ(matches.CellText(0, 12), "10:00:00");
}

TEST_F(PageMatchTest, RefusedOrEmptyReturnsChangeNothing) {
    const TYqMatch match = MakeMatch("0000000000000001", 'b', "00000000000101");
    Announce(match, Response("RSP000001"));
    matches.onRecvRtnYqMatch(&match, TTRspMsg{});
    const TTRspMsg ok = Response();
    matches.onRecvRtnYqMatch(nullptr, ok);
    EXPECT_EQ(matches.RowCount(), 1);
    EXPECT_EQ(Row(0), Subtotal("0", "0"));
    EXPECT_TRUE(rows.events.empty());
}

}  // namespace
}  // namespace kvt::test
