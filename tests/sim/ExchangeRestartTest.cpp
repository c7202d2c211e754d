// The trading day kept in a folder: a restart carries on with every order, match, account,
// number and password; files an interrupted write left behind are repaired; files that are
// damaged otherwise, or belong to another day, are refused with the file named.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DayFolderSupport.h"
#include "api/ApiTestSupport.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFolder = "day";

// The message of the exchange's refusal to start on the day's folder; empty when it starts.
std::string StartError(std::string_view toml = DemoDayToml()) { return test::StartError(kFolder, toml); }

class ExchangeRestartTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        day = std::make_unique<CExchangeHarness>(DemoDayToml(), kFolder);
    }
    // Two traders trade: a match, a resting order, a cancel, an indenture sale; a password and an
    // instrument's state change.
    void TradeADay() {
        day->LoginTrader(1, "00010001", "trader1");
        day->LoginTrader(2, "00020001", "trader3");
        day->LoginMonitor(3);
        EXPECT_EQ(day->Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 10, 1)).RspCode(), "RSP000000");
        EXPECT_EQ(day->Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 4, 1)).RspCode(), "RSP000000");
        EXPECT_EQ(day->Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3490, 2, 2)).RspCode(), "RSP000000");
        TYqOrderCancel cancel{};
        SetText(cancel.orderNo, FieldText(day->exchange->Order(2).record.orderNo));
        SetText(cancel.traderID, "00010001");
        day->Send(1, tid::ReqYqOrderCancel, cancel);
        EXPECT_EQ(day->Answer(1).RspCode(), "RSP000000");
        TYqFrznElctIndenture indenture{};
        SetText(indenture.indentNo, "E000000001");
        indenture.frznAmount = 5;
        day->Send(1, tid::ReqYqOrder, CExchangeHarness::Order("00010001", "00010001", "000001", 's', 3600, 5, 7, '0', '2'), indenture);
        EXPECT_EQ(day->Answer(1).RspCode(), "RSP000000");
        TReqTraderPasswordUpdate password{};
        SetText(password.traderID, "00020001");
        SetText(password.memberID, "0002");
        SetText(password.oldPassword, quorex::PasswordDigest("trader3"));
        SetText(password.newPassword, quorex::PasswordDigest("changed"));
        day->Send(2, tid::ReqTraderPasswordUpdate, password);
        EXPECT_EQ(day->Answer(2).RspCode(), "RSP000000");
        TReqInstStateUpdate pause{};
        SetText(pause.instID, "000002");
        pause.isChangeCommand = '2';
        day->Send(3, tid::ReqYqInstStateUpdate, pause);
        EXPECT_EQ(day->Answer(3).RspCode(), "RSP000000");
    }
    // Everything a monitor's flows hold, from their start.
    std::vector<CReceived> MonitorFlows() {
        day->LoginMonitor(9);
        std::vector<CReceived> packages = day->Drain(9);
        day->exchange->Disconnect(9);
        return packages;
    }
    void Restart() {
        day.reset();
        day = std::make_unique<CExchangeHarness>(DemoDayToml(), kFolder);
    }

    std::unique_ptr<CExchangeHarness> day;
};

TEST_F(ExchangeRestartTest, ARestartCarriesOnWithTheSameDay) {
    TradeADay();
    const std::vector<CReceived> before = MonitorFlows();
    const TMemberCapital capital = *day->exchange->Accounts().Capital("0001", '0');
    const TElctIndenture indenture = day->exchange->Accounts().Indentures()[0];
    const TYqQuotation quotation = day->exchange->Quotation(0);
    ASSERT_EQ(day->exchange->OrderCount(), 4u);

    Restart();
    EXPECT_TRUE(day->exchange->Restored().resumed);
    EXPECT_EQ(day->exchange->Restored().requests, 7u);  // 4 orders, a cancel, a password, a state
    EXPECT_EQ(day->exchange->Restored().packagesWritten, 0u);
    ASSERT_EQ(day->exchange->OrderCount(), 4u);
    EXPECT_EQ(day->exchange->Order(2).record.status, kStatusCancelled);
    EXPECT_EQ(day->exchange->Order(0).record.remainAmount, 6);
    const TMemberCapital& restored = *day->exchange->Accounts().Capital("0001", '0');
    EXPECT_DOUBLE_EQ(restored.frozen, capital.frozen);
    EXPECT_DOUBLE_EQ(restored.todayOccupied, capital.todayOccupied);
    EXPECT_DOUBLE_EQ(restored.todayBalance, capital.todayBalance);
    EXPECT_EQ(day->exchange->Accounts().Indentures()[0].frznYqOpen, indenture.frznYqOpen);
    EXPECT_EQ(day->exchange->Quotation(0).sequenceNo, quotation.sequenceNo);
    EXPECT_DOUBLE_EQ(day->exchange->Quotation(0).lastest, quotation.lastest);
    EXPECT_EQ(day->exchange->Day().instruments[1].info.tradeState, '2');

    const std::vector<CReceived> after = MonitorFlows();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i].wire, before[i].wire) << "package " << i;

    // Numbers go on: the next order is the fifth of the day, local numbers must still rise, and
    // the changed password is the one that logs in.
    EXPECT_EQ(day->LoginTrader(2, "00020001", "trader3").RspCode(), "ERR000005");
    EXPECT_EQ(day->LoginTrader(2, "00020001", "changed").RspCode(), "RSP000000");
    day->LoginTrader(1, "00010001", "trader1");
    EXPECT_EQ(day->Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400, 1, 7)).RspCode(), "ERR001006");
    const CReceived placed = day->Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400, 1, 8));
    EXPECT_STREQ(placed.First<TYqOrder>().orderNo, "26010500000005");
    EXPECT_EQ(day->exchange->LastLocalOrderNo("00010001"), 8);
}

TEST_F(ExchangeRestartTest, PackagesThatDidNotReachTheFilesAreWrittenAgain) {
    TradeADay();
    // Records without their headers: a package written again carries the time of its new write.
    const auto market = Records("day/market.con");
    const auto monitorPrivate = Records("day/monitor-private.con");
    day.reset();
    // The process died after journaling the last request and before writing all it produced.
    CutLastRecord("day/market.con");
    CutLastRecord("day/monitor-private.con");
    Restart();
    EXPECT_EQ(day->exchange->Restored().packagesWritten, 2u);
    EXPECT_TRUE(day->exchange->Restored().repairs.empty());
    day.reset();
    EXPECT_EQ(Records("day/market.con"), market);
    EXPECT_EQ(Records("day/monitor-private.con"), monitorPrivate);
}

TEST_F(ExchangeRestartTest, TornLastRecordsAreCutAndReported) {
    TradeADay();
    const std::size_t orders = day->exchange->OrderCount();
    day.reset();
    // A record header that promises 40 bytes of which 3 were written, in a flow and the journal.
    const std::vector<char> torn = {40, 0, 0, 0, 1, 2, 3, 4, 'a', 'b', 'c'};
    for (const char* file : {"day/market.con", "day/requests.con"}) {
        std::vector<char> bytes = Bytes(file);
        bytes.insert(bytes.end(), torn.begin(), torn.end());
        Write(file, bytes);
    }
    Restart();
    const std::vector<std::string>& repairs = day->exchange->Restored().repairs;
    ASSERT_EQ(repairs.size(), 2u);
    EXPECT_NE(repairs[0].find("day/market.con: cut a torn last record (record 6, 11 bytes)"), std::string::npos) << repairs[0];
    EXPECT_NE(repairs[1].find("day/requests.con"), std::string::npos) << repairs[1];
    EXPECT_EQ(day->exchange->OrderCount(), orders);
}

TEST_F(ExchangeRestartTest, ALostLastIdEntryIsRestored) {
    day->LoginTrader(1, "00010001", "trader1");
    // 120 resting orders: 120 quotations on the market flow, so its id file indexes record 100.
    for (int i = 1; i <= 120; ++i) day->Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400, 1, i));
    ASSERT_EQ(fs::file_size("day/market.id"), 4u);
    const std::vector<char> id = Bytes("day/market.id");
    day.reset();
    fs::resize_file("day/market.id", 2);  // torn while it was written
    Restart();
    ASSERT_EQ(day->exchange->Restored().repairs.size(), 1u);
    EXPECT_NE(day->exchange->Restored().repairs[0].find("day/market.id"), std::string::npos);
    EXPECT_EQ(day->exchange->OrderCount(), 120u);
    day.reset();
    EXPECT_EQ(Bytes("day/market.id"), id);
}

TEST_F(ExchangeRestartTest, DamagedFilesAreRefusedWithTheFileNamed) {
    TradeADay();
    day.reset();
    const std::vector<char> market = Bytes("day/market.con");
    const std::vector<char> requests = Bytes("day/requests.con");

    // A byte of a quotation changed.
    std::vector<char> changed = market;
    changed[8 + 56 + 20] ^= 0x40;
    Write("day/market.con", changed);
    std::string error = StartError();
    EXPECT_NE(error.find("day/market.con: package 1 is not what request 0 of day/requests.con gives again; the request is intact"),
              std::string::npos)
        << error;
    Write("day/market.con", market);

    // A record that claims more bytes than any record of a day.
    changed = requests;
    changed[0] = changed[1] = changed[2] = 0x7F;
    Write("day/requests.con", changed);
    error = StartError();
    EXPECT_NE(error.find("day/requests.con: record 0 claims"), std::string::npos) << error;

    // The journal lost its last request, so the flows hold packages nothing explains.
    Write("day/requests.con", requests);
    CutLastRecord("day/requests.con");
    error = StartError();
    EXPECT_NE(error.find("packages more than the requests journaled in day/requests.con"), std::string::npos) << error;
    Write("day/requests.con", requests);

    // A package stored in the wrong flow.
    changed = Bytes("day/monitor-private.con");
    Write("day/market.con", changed);
    error = StartError();
    EXPECT_NE(error.find("day/market.con: record 0 is not package 1 of series 4"), std::string::npos) << error;
    Write("day/market.con", market);

    // An id file that does not index its content.
    Write("day/market.id", {1, 0, 0, 0});
    error = StartError();
    EXPECT_NE(error.find("day/market.id: entry 1 does not index"), std::string::npos) << error;
    fs::resize_file("day/market.id", 0);

    EXPECT_EQ(StartError(), "");
}

TEST_F(ExchangeRestartTest, AFolderOfAnotherDayOrInUseIsRefused) {
    TradeADay();
    // In use by this exchange.
    EXPECT_NE(StartError().find("day: in use by another exchange-sim"), std::string::npos);
    day.reset();
    std::string other(DemoDayToml());
    other += "\n[[bulletin]]\nseqNo = 9\ntitle = \"x\"\n";
    const std::string error = StartError(other);
    EXPECT_NE(error.find("day/day.txt: the day was started with another configuration"), std::string::npos) << error;
    fs::remove("day/day.txt");
    EXPECT_NE(StartError().find("day/day.txt: missing, though the folder holds files"), std::string::npos);
}

TEST(ExchangeDayFilesTest, CodesBecomeSafeFileNames) {
    EXPECT_EQ(CDayFiles::EscapedName("private-00010001"), "private-00010001");
    EXPECT_EQ(CDayFiles::EscapedName("../x y"), "%2E%2E%2Fx%20y");
}

}  // namespace
}  // namespace quorex::sim::test
