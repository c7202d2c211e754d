#include "client/pages/PageQuotation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "client/ClientTestSupport.h"
#include "client/pages/MarketPagesTestSupport.h"

namespace kvt::test {
namespace {

class PageQuotationTest : public testing::Test {
protected:
    ~PageQuotationTest() override { harness.api.SetInstrumentTable(nullptr); }

    void Deliver(const TYqQuotation& quotation, const TTRspMsg& rsp = Response()) {
        page.onRecvYqQuotation(&quotation, rsp);
    }
    std::vector<std::string> Codes() const {
        std::vector<std::string> codes;
        for (int row = 0; row < page.RowCount(); ++row) codes.push_back(page.CellText(row, 0));
        return codes;
    }

    CClientHarness harness;
    CRecordedPrefill prefill;
    CPageQuotation page{harness.api, &prefill};
    CRowCountMirror mirror{page};
};

using CodeList = std::vector<std::string>;

TEST_F(PageQuotationTest, NewInstrumentsAreInsertedInYqInstIDOrderAndKnownOnesUpdatedInPlace) {
    Deliver(Quotation("000002", "HRB0602"));
    Deliver(Quotation("000004", "WRC0601"));
    Deliver(Quotation("000001", "HRB0601"));
    Deliver(Quotation("000003", "HRB0603"));
    Deliver(Quotation("000005", "ZNA0601"));
    EXPECT_EQ(Codes(), (CodeList{"HRB0601", "HRB0602", "HRB0603", "WRC0601", "ZNA0601"}));
    EXPECT_EQ(mirror.insertedAt, (std::vector<int>{0, 1, 0, 2, 4}));

    Deliver(Quotation("000003", "HRB0603", 4100));
    EXPECT_EQ(page.RowCount(), 5);
    EXPECT_EQ(page.CellText(2, 1), "4100");
    EXPECT_EQ(page.FindQuotation("000003")->lastest, 4100);
    EXPECT_EQ(page.FindQuotation("000009"), nullptr);
    EXPECT_EQ(&page.Quotation(2), page.FindQuotation("000003"));

    // Listed under a new code, the instrument's one row moves to that code's place, and every
    // later quotation of it updates that row.
    for (double last : {4200.0, 4300.0}) Deliver(Quotation("000003", "AAA0603", last));
    EXPECT_EQ(Codes(), (CodeList{"AAA0603", "HRB0601", "HRB0602", "WRC0601", "ZNA0601"}));
    EXPECT_EQ(page.CellText(0, 1), "4300");
    EXPECT_EQ(page.FindQuotation("000003"), &page.Quotation(0));
}

TEST_F(PageQuotationTest, EveryRecordIsListedWhateverItsCodeButNoneWithout) {
    Deliver(Quotation("000001", "HRB0601"), Response("RSP000001", "失败"));
    const TTRspMsg rsp = Response();
    page.onRecvYqQuotation(nullptr, rsp);
    EXPECT_EQ(page.RowCount(), 1);
}

TEST_F(PageQuotationTest, CellsShowTheQuotationWithVolumePositionAndTurnoverForBothSides) {
    TYqQuotation q = Quotation("000001", "HRB0601", 4040.4, 4000);
    q.bid1 = 4039.5;
    q.bidLot1 = 7;
    q.ask1 = 4041;
    q.askLot1 = 3;
    q.volume = 12;
    q.Posi = 30;
    q.open = 4010;
    q.high = 4050;
    q.low = 3990;
    q.average = 4020.2;
    q.turnOver = 482424.5;
    Deliver(q);
    std::vector<std::string> cells;
    for (int column = 0; column < 16; ++column) cells.push_back(page.CellText(0, column));
    EXPECT_EQ(cells, (std::vector<std::string>{"HRB0601", "4040", "40", "4040", "7", "4041", "3", "24", "60", "4010",
                                               "4050", "3990", "4020", "1.0%", "4000", "964849"}));
    EXPECT_EQ(page.Columns().size(), 16u);
    EXPECT_EQ(page.Columns()[13].title, "涨跌幅度");
}

TEST_F(PageQuotationTest, RisingFallingAndUnchangedInstrumentsAreMarkedInTheirColours) {
    Deliver(Quotation("000001", "HRB0601", 4040, 4000));  // +40, 1 %
    Deliver(Quotation("000002", "HRB0602", 3940, 4000));  // -60, 1.5 %
    Deliver(Quotation("000003", "HRB0603", 4000, 4000));  // unchanged
    const auto cell = [&](int row, int column) { return page.DrawnCell(row, column); };

    EXPECT_EQ(cell(0, 2), (CQuoteCell{"▲  40", EQuoteTone::Rising}));
    EXPECT_EQ(cell(0, 13), (CQuoteCell{"▲1.0%", EQuoteTone::Rising}));
    EXPECT_EQ(cell(1, 2), (CQuoteCell{"▼  60", EQuoteTone::Falling}));
    EXPECT_EQ(cell(1, 13), (CQuoteCell{"▼1.5%", EQuoteTone::Falling}));
    EXPECT_EQ(cell(2, 2), (CQuoteCell{"0", EQuoteTone::Normal}));
    EXPECT_EQ(cell(2, 13), (CQuoteCell{"0.0%", EQuoteTone::Normal}));
    EXPECT_EQ(cell(1, 1), (CQuoteCell{"3940", EQuoteTone::Normal}));

    EXPECT_EQ(ColourOf(EQuoteTone::Rising), (CRgb{255, 0, 0}));
    EXPECT_EQ(ColourOf(EQuoteTone::Falling), (CRgb{0, 128, 0}));
    EXPECT_EQ(ColourOf(EQuoteTone::Normal), (CRgb{0, 0, 0}));
}

TEST_F(PageQuotationTest, AChangeThatIsNotANumberIsNotDrawn) {
    TYqQuotation q = Quotation("000001", "HRB0601");
    q.upDown = std::nan("");
    Deliver(q);
    EXPECT_EQ(page.DrawnCell(0, 2).text, "");
    EXPECT_EQ(page.DrawnCell(0, 1).text, "4000");
}

TEST_F(PageQuotationTest, ProductGroupsOfTheInstrumentListShareBandsInListOrder) {
    CInstrumentList instruments;
    instruments.Add("000005", "WRC0601");
    instruments.Add("000001", "HRB0601");
    instruments.Add("000006", "WRC0602");
    instruments.Add("000007", "ZNA0601");
    harness.api.SetInstrumentTable(&instruments.table);
    Deliver(Quotation("000001", "HRB0601"));
    Deliver(Quotation("000006", "WRC0602"));
    page.onRecvReqSendOver();
    Deliver(Quotation("000005", "WRC0601"));
    Deliver(Quotation("000007", "ZNA0601"));
    Deliver(Quotation("000008", "CUA0601"));
    Deliver(Quotation("000009", "CUA0602"));
    Deliver(Quotation("000010", "ALB0601"));
    ASSERT_EQ(Codes(), (CodeList{"ALB0601", "CUA0601", "CUA0602", "HRB0601", "WRC0601", "WRC0602", "ZNA0601"}));

    EXPECT_EQ(page.RowBand(4), 225);  // WRC, first in the list
    EXPECT_EQ(page.RowBand(5), 225);
    EXPECT_EQ(page.RowBand(3), 255);  // HRB
    EXPECT_EQ(page.RowBand(6), 225);  // ZNA
    // Groups outside the list get their bands as they are first drawn, and keep them.
    EXPECT_EQ(page.RowBand(2), 255);  // CUA
    EXPECT_EQ(page.RowBand(0), 225);  // ALB
    EXPECT_EQ(page.RowBand(1), 255);
    EXPECT_EQ(page.RowBand(0), 225);
}

TEST_F(PageQuotationTest, WithoutAnInstrumentListBandsComeFromDrawingStartingWithGrey) {
    Deliver(Quotation("000001", "HRB0601"));
    Deliver(Quotation("000002", "HRB0602"));
    Deliver(Quotation("000003", "WRC0601"));
    page.onRecvReqSendOver();
    EXPECT_EQ(page.RowBand(1), 225);
    EXPECT_EQ(page.RowBand(0), 225);
    EXPECT_EQ(page.RowBand(2), 255);
}

TEST_F(PageQuotationTest, MenuPrefillsNewContractsAndTransfersFromTheRowsQuotation) {
    Deliver(Quotation("000001", "HRB0601", 4010));
    const std::span<const std::string_view> items = page.MenuItems(0);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(std::vector<std::string_view>(items.begin(), items.end()),
              (std::vector<std::string_view>{"买入新订", "卖出新订", "转让卖出", "转让买入"}));
    EXPECT_TRUE(page.MenuItems(1).empty());

    for (int item = 0; item < 4; ++item) page.OnMenuItem(0, item);
    page.OnMenuItem(0, 4);
    page.OnMenuItem(1, 0);
    ASSERT_EQ(prefill.fromQuotations.size(), 4u);
    const auto codes = [&](std::size_t i) {
        return std::string{prefill.fromQuotations[i].direction, prefill.fromQuotations[i].offsetFlag};
    };
    EXPECT_EQ(codes(0), "b0");
    EXPECT_EQ(codes(1), "s0");
    EXPECT_EQ(codes(2), "s1");
    EXPECT_EQ(codes(3), "b1");
    EXPECT_EQ(prefill.fromQuotations[0].quotation.lastest, 4010);

    page.SetOrderPrefill(nullptr);
    page.OnMenuItem(0, 0);
    EXPECT_EQ(prefill.fromQuotations.size(), 4u);
}

}  // namespace
}  // namespace kvt::test
