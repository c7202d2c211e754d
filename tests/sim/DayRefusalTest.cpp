// Starts that are refused: damage in the journal names the journal (each entry carries a digest;
// journals of earlier versions without one are still read), a day file that is empty or garbage
// says so, and files that cannot be written stop the start before anything is cut. A refused start
// leaves every file as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "DayFolderSupport.h"
#include "api/ApiTestSupport.h"
#include "sim/JournalEntry.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

class DayRefusalTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        CExchangeHarness day(DemoDayToml(), "day");
        day.LoginTrader(1, "00010001", "trader1");
        day.LoginTrader(2, "00020001", "trader3");
        EXPECT_EQ(day.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 10, 1)).RspCode(), "RSP000000");
        EXPECT_EQ(day.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 4, 1)).RspCode(), "RSP000000");
        EXPECT_EQ(day.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3490, 2, 2)).RspCode(), "RSP000000");
    }

    // Rewrites the journal as an earlier version wrote it: entries without a digest.
    static void WriteJournalWithoutDigests() {
        std::vector<char> journal;
        for (std::vector<char> entry : Records("day/requests.con")) {
            entry.erase(entry.end() - journal::kDigestLength, entry.end());
            entry[9] = static_cast<char>(journal::kFormPlain);
            const std::uint32_t header[2] = {static_cast<std::uint32_t>(entry.size()), 1767600000};
            journal.insert(journal.end(), reinterpret_cast<const char*>(header), reinterpret_cast<const char*>(header) + 8);
            journal.insert(journal.end(), entry.begin(), entry.end());
        }
        Write("day/requests.con", journal);
    }
    // The journal's offset of the first order's local order number (its last digit).
    static std::size_t LocalOrderNumberOffset() {
        const std::vector<char> journal = Bytes("day/requests.con");
        const std::string number = "00000000000001";
        const auto found = std::search(journal.begin(), journal.end(), number.begin(), number.end());
        EXPECT_NE(found, journal.end());
        return static_cast<std::size_t>(found - journal.begin()) + number.size() - 1;
    }
};

TEST_F(DayRefusalTest, AnyChangedByteOfAJournalEntryNamesTheJournal) {
    const std::vector<char> journal = Bytes("day/requests.con");
    const std::vector<std::size_t> starts = RecordStarts("day/requests.con");
    ASSERT_EQ(starts.size(), 3u);
    // Every byte of the second entry (after the record header, which the flow files own).
    for (std::size_t at = starts[1] + 8; at < starts[2]; ++at) {
        std::vector<char> changed = journal;
        changed[at] ^= 0x01;
        Write("day/requests.con", changed);
        const std::string error = StartError("day");
        EXPECT_TRUE(error.starts_with("day/requests.con: request 1 (at byte " + std::to_string(starts[1]) + ") is damaged: ")) << at << ": " << error;
    }
    // A byte of a record header and one of an entry: the journal is named, not a flow whose packages it no longer gives.
    for (const std::size_t at : {std::size_t{200}, starts[0] + 8 + 100}) {
        std::vector<char> changed = journal;
        changed[at] ^= 0x20;
        Write("day/requests.con", changed);
        const std::string error = StartError("day");
        EXPECT_TRUE(error.starts_with("day/requests.con: ")) << error;
        if (at > 200) {
            EXPECT_NE(error.find("request 0 (at byte 0) is damaged: its digest does not match its bytes"), std::string::npos) << error;
        }
    }
    Write("day/requests.con", journal);
    EXPECT_EQ(StartError("day"), "");
}

TEST_F(DayRefusalTest, AJournalOfAnEarlierVersionIsReadAndGoesOnWithDigests) {
    const auto flows = Records("day/market.con");
    WriteJournalWithoutDigests();
    {
        CExchangeHarness day(DemoDayToml(), "day");
        EXPECT_EQ(day.exchange->Restored().requests, 3u);
        EXPECT_EQ(day.exchange->Restored().packagesWritten, 0u);
        EXPECT_EQ(day.exchange->OrderCount(), 3u);
        day.LoginTrader(2, "00020001", "trader3");
        EXPECT_EQ(day.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3490, 1, 2)).RspCode(), "RSP000000");
    }
    const std::vector<std::vector<char>> entries = Records("day/requests.con");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2][9], journal::kFormPlain);
    EXPECT_EQ(entries[3][9], journal::kFormDigest);
    CExchangeHarness day(DemoDayToml(), "day");
    EXPECT_EQ(day.exchange->Restored().requests, 4u);
    EXPECT_EQ(day.exchange->OrderCount(), 4u);
}

TEST_F(DayRefusalTest, ARequestThatGivesOtherPackagesBlamesTheFlowOrBothFiles) {
    const std::vector<char> journal = Bytes("day/requests.con");
    // With digests the journal is known intact, so the flow is at fault.
    std::vector<char> market = Bytes("day/market.con");
    market[8 + 56 + 20] ^= 0x40;
    Write("day/market.con", market);
    EXPECT_NE(StartError("day").find("day/market.con: package 1 is not what request 0 of day/requests.con gives again; the "
                                     "request is intact (its digest matches), so day/market.con is damaged"),
              std::string::npos);
    market[8 + 56 + 20] ^= 0x40;
    Write("day/market.con", market);

    // An entry without a digest that still parses, but asks for another local order number.
    WriteJournalWithoutDigests();
    std::vector<char> changed = Bytes("day/requests.con");
    changed[LocalOrderNumberOffset()] = '9';
    Write("day/requests.con", changed);
    const std::string error = StartError("day");
    EXPECT_NE(error.find("is not what request 0 of day/requests.con gives again; one of the two files is damaged"), std::string::npos)
        << error;
    EXPECT_TRUE(error.starts_with("day/private-00010001.con: ") || error.starts_with("day/monitor-private.con: ")) << error;
}

TEST_F(DayRefusalTest, ADayFileThatIsEmptyOrGarbageOrOfAnotherDateSaysSo) {
    const std::vector<char> dayFile = Bytes("day/day.txt");
    Write("day/day.txt", {});
    EXPECT_TRUE(StartError("day").starts_with("day/day.txt: is empty, where it should name the day's trade date and configuration; "
                                              "remove the folder to start the day afresh, or give another --data-dir"));
    Write("day/day.txt", {'x', '\n', 'y'});
    EXPECT_TRUE(StartError("day").starts_with("day/day.txt: is not a day file of exchange-sim"));
    std::string other(dayFile.begin(), dayFile.end());
    other.replace(other.find("20260105"), 8, "20260104");
    Write("day/day.txt", {other.begin(), other.end()});
    EXPECT_EQ(StartError("day"), "day/day.txt: the folder keeps the day of 20260104, not of 20260105; give another --data-dir, "
                                 "or start with --trade-date 20260104 to carry on with that day");
    // Written whole: no temporary file is left beside it.
    fs::remove_all("day");
    { CExchangeHarness fresh(DemoDayToml(), "day"); }
    EXPECT_EQ(Bytes("day/day.txt"), dayFile);
    EXPECT_FALSE(fs::exists("day/day.txt.tmp"));
}

TEST_F(DayRefusalTest, AFlowThatIsNotAFileOrIsUnwritableStopsTheStartBeforeAnyRepair) {
    // A torn tail that a start would cut, were it allowed to write.
    std::vector<char> market = Bytes("day/market.con");
    market.insert(market.end(), {40, 0, 0, 0, 1});
    Write("day/market.con", market);

    fs::remove("day/private-00020001.id");
    fs::create_directory("day/private-00020001.id");
    EXPECT_EQ(StartError("day"), "day/private-00020001.id: is not a regular file; move it out of the day's folder");
    fs::remove("day/private-00020001.id");

    // The files belong to this user; another user, as which the start runs, may read them only.
    ::chmod(".", 0755);
    ::chmod("day/market.con", 0444);
    const CSnapshot before = Snapshot("day");
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        std::string error = StartError("day");
        const ssize_t written = ::write(out[1], error.data(), error.size());
        ::_exit(written == static_cast<ssize_t>(error.size()) ? 0 : 2);
    }
    ::close(out[1]);
    std::string error;
    char buffer[512];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) error.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(error.starts_with("day/market.")) << error;
    EXPECT_NE(error.find(": cannot be written: Permission denied; make it writable by the user running exchange-sim"), std::string::npos)
        << error;
    EXPECT_EQ(Snapshot("day"), before);
}

}  // namespace
}  // namespace quorex::sim::test
