// What a kill -9 at any byte of a write leaves in the day's folder, and the start after it: the
// folder is cut at every offset inside the last record of the journal and of each flow, and the
// start either carries on with the day its journaled requests give, with every cut reported, or
// is refused with every file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DayFolderSupport.h"
#include "api/ApiTestSupport.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

// Orders of two traders that rest and match; the last one matches and so writes to every kind
// of flow (both traders' private flows, the monitors' private flow, the market flow).
void TradeOrders(CExchangeHarness& day, std::size_t orders) {
    day.LoginTrader(1, "00010001", "trader1");
    day.LoginTrader(2, "00020001", "trader3");
    const TYqOrder script[] = {
        CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 10, 1),
        CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 4, 1),
        CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3490, 2, 2),
        CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3490, 7, 2),
    };
    for (std::size_t i = 0; i < orders; ++i) EXPECT_EQ(day.Place(i % 2 == 0 ? 1 : 2, script[i]).RspCode(), "RSP000000");
}

// The records of every flow's content file, by file name.
std::map<std::string, std::vector<std::vector<char>>> FlowRecords(const fs::path& folder) {
    std::map<std::string, std::vector<std::vector<char>>> flows;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".con") && name != "requests.con") flows[name] = Records(entry.path());
    }
    return flows;
}

class DayKillStateTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        {
            CExchangeHarness day(DemoDayToml(), "day");
            TradeOrders(day, 4);
        }
        complete = Snapshot("day");
        whole = FlowRecords("day");
        // The day as it is when the last order was never made.
        {
            CExchangeHarness day(DemoDayToml(), "without-last");
            TradeOrders(day, 3);
        }
        withoutLast = FlowRecords("without-last");
    }

    // Cuts file at every offset inside its last record and starts on each state; expected is the
    // day the start must carry on with, refusedAtStart whether the state without any byte of the
    // record (a whole record lost) is one no kill leaves.
    void CutEverywhereInTheLastRecord(const std::string& file, const std::map<std::string, std::vector<std::vector<char>>>& expected,
                                      bool refusedAtStart) {
        const std::vector<std::size_t> starts = RecordStarts(fs::path("day") / file);
        ASSERT_FALSE(starts.empty()) << file;
        const std::size_t end = complete.at(file).size();
        for (std::size_t cut = starts.back(); cut < end; ++cut) {
            SCOPED_TRACE(file + " cut at byte " + std::to_string(cut));
            Restore("day", complete);
            fs::resize_file(fs::path("day") / file, cut);
            const bool lostWholeRecord = cut == starts.back();
            const CSnapshot before = lostWholeRecord ? Snapshot("day") : CSnapshot{};
            std::vector<std::string> repairs;
            std::string refusal;
            try {
                CExchangeHarness day(DemoDayToml(), "day");
                repairs = day.exchange->Restored().repairs;
            } catch (const CDayFileError& error) {
                refusal = error.what();
            }
            if (lostWholeRecord && refusedAtStart) {
                EXPECT_NE(refusal.find("packages more than the requests journaled in day/requests.con"), std::string::npos) << refusal;
                EXPECT_EQ(Snapshot("day"), before) << "a refused start changed the folder";
                continue;
            }
            ASSERT_EQ(refusal, "");
            EXPECT_EQ(FlowRecords("day"), expected);
            if (!lostWholeRecord) {
                ASSERT_FALSE(repairs.empty());
                EXPECT_TRUE(repairs.back().starts_with("day/" + file + ": cut a torn last record (record " +
                                                       std::to_string(starts.size() - 1) + ", " + std::to_string(cut - starts.back()) +
                                                       " bytes)"))
                    << repairs.back();
            }
            // The repaired folder starts again as it is.
            CExchangeHarness again(DemoDayToml(), "day");
            EXPECT_TRUE(again.exchange->Restored().repairs.empty());
            EXPECT_EQ(again.exchange->Restored().packagesWritten, 0u);
        }
    }

    CSnapshot complete;
    std::map<std::string, std::vector<std::vector<char>>> whole;
    std::map<std::string, std::vector<std::vector<char>>> withoutLast;
};

TEST_F(DayKillStateTest, ATornFlowIsCutAndWrittenAgainFromTheJournal) {
    std::size_t flows = 0;
    for (const auto& [file, records] : whole) {
        if (records.empty()) continue;
        ++flows;
        CutEverywhereInTheLastRecord(file, whole, false);
    }
    EXPECT_GE(flows, 4u);  // market, monitor-private and both traders' private flows
}

TEST_F(DayKillStateTest, ATornJournalEntryCountsAsNeverMadeAndItsPackagesAreCut) {
    CutEverywhereInTheLastRecord("requests.con", withoutLast, true);
}

TEST_F(DayKillStateTest, EveryCutOfAFlowAheadOfATornJournalIsReported) {
    const std::size_t last = RecordStarts("day/requests.con").back();
    fs::resize_file("day/requests.con", last + 20);
    CExchangeHarness day(DemoDayToml(), "day");
    const std::vector<std::string>& repairs = day.exchange->Restored().repairs;
    for (const auto& [file, records] : whole) {
        const std::size_t cut = records.size() - withoutLast.at(file).size();
        if (cut == 0) continue;
        const auto named = std::find_if(repairs.begin(), repairs.end(), [&](const std::string& line) { return line.starts_with("day/" + file); });
        ASSERT_NE(named, repairs.end()) << file;
        EXPECT_NE(named->find(": cut packages " + std::to_string(withoutLast.at(file).size() + 1) + " to " +
                              std::to_string(records.size())),
                  std::string::npos)
            << *named;
        EXPECT_NE(named->find("which no journaled request gives"), std::string::npos) << *named;
    }
    EXPECT_EQ(repairs.back(), "day/requests.con: cut a torn last record (record 3, 20 bytes) left by an interrupted write");
    EXPECT_EQ(day.exchange->Restored().requests, 3u);
}

// A kill while a start cuts flows back leaves the journal's torn entry in place (it is cut last),
// and the id file at most one entry short: the next start finishes the repair.
TEST_F(DayKillStateTest, AKillDuringTheRepairLeavesAStateTheNextStartRepairs) {
    Restore("day", complete);
    const std::size_t last = RecordStarts("day/requests.con").back();
    fs::resize_file("day/requests.con", last + 20);
    // One flow was cut back already, the others not.
    fs::resize_file("day/market.con", RecordStarts("day/market.con")[withoutLast.at("market.con").size()]);
    CExchangeHarness day(DemoDayToml(), "day");
    EXPECT_EQ(FlowRecords("day"), withoutLast);
    EXPECT_EQ(day.exchange->Restored().requests, 3u);
}

}  // namespace
}  // namespace quorex::sim::test
