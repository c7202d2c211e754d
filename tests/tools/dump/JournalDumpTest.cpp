// quorex-dump on exchange-sim's request journal: one line per entry, with who made the request and
// when, in both entry forms (with the digest, and without one as earlier versions wrote them); a
// damaged entry is named with its byte position.
#include <gtest/gtest.h>

#include "public/Flow.h"
#include "sim/JournalEntry.h"
#include "tools/dump/DumpTestSupport.h"

using namespace quorex;
using namespace quorex::test;

namespace {

constexpr char kTime[9] = "10:30:00";

class JournalDump : public DumpTest {
protected:
    // A trader's order (user index 1) and a monitor's instrument state change (user index 0), both
    // with digests, then an order without one.
    void SetUp() override {
        DumpTest::SetUp();
        CFlow journal("requests.id", "requests.con", false);
        CXTPPackage package;
        std::vector<std::uint8_t> entry;
        Received(package, 0x000000F1, 0, 0, Order("1", 3500, 2));
        sim::journal::EncodeEntry(entry, sim::journal::kRoleTrader, kTime, 1, {package.Address(), package.Length()});
        journal.Append(entry, 1767600000);
        TReqInstStateUpdate pause{};
        SetText(pause.instID, "000002");
        pause.isChangeCommand = '2';
        Received(package, 0x00000481, 0, 0, pause);
        sim::journal::EncodeEntry(entry, sim::journal::kRoleMonitor, kTime, 0, {package.Address(), package.Length()});
        journal.Append(entry, 1767600001);
        Received(package, 0x000000F1, 0, 0, Order("2", 3490, 1));
        sim::journal::EncodeEntry(entry, sim::journal::kRoleTrader, kTime, 0, {package.Address(), package.Length()});
        entry.erase(entry.end() - sim::journal::kDigestLength, entry.end());
        entry[9] = sim::journal::kFormPlain;
        journal.Append(entry, 1767600002);
        entryBytes = FileBytes("requests.con");
    }
    std::vector<std::uint8_t> entryBytes;
};

TEST_F(JournalDump, OneLinePerEntryWithWhoAndWhen) {
    const DumpResult result = Dump({"requests.con"});
    ASSERT_EQ(result.code, 0) << result.err;
    const std::vector<std::string> lines = result.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("request=0 trader=#2 at=10:30:00 seq=0 tid=0x000000F1 双向竞价报单请求 time=2026-01-05T08:00:00Z "))
        << lines[0];
    EXPECT_NE(lines[0].find(" TYqOrder{orderNo=\"1\" "), std::string::npos) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("request=1 monitor=#1 at=10:30:00 seq=0 tid=0x00000481 ")) << lines[1];
    EXPECT_NE(lines[1].find("instID=\"000002\""), std::string::npos) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("request=2 trader=#1 at=10:30:00 ")) << lines[2];
    EXPECT_NE(lines[2].find(" price=3490 "), std::string::npos) << lines[2];
}

TEST_F(JournalDump, ARenamedJournalIsReadWithTheOptionAndTheTypeFilterApplies) {
    WriteBytes("copy.con", entryBytes);
    WriteBytes("copy.id", {});
    const DumpResult plain = Dump({"copy"});
    EXPECT_EQ(plain.code, 1);  // read as packages, an entry is none
    const DumpResult journal = Dump({"--journal", "copy"});
    ASSERT_EQ(journal.code, 0) << journal.err;
    EXPECT_EQ(journal.out, Dump({"requests"}).out);
    const DumpResult orders = Dump({"--tid", "F1", "requests"});
    ASSERT_EQ(orders.Lines().size(), 2u);
    EXPECT_TRUE(orders.Lines()[1].starts_with("request=2 ")) << orders.out;
}

TEST_F(JournalDump, ADamagedEntryIsNamedWithItsPosition) {
    const std::size_t second = 8 + entryBytes[0] + (entryBytes[1] << 8);
    std::vector<std::uint8_t> damaged = entryBytes;
    damaged[second + 8 + 40] ^= 0x01;
    WriteBytes("requests.con", damaged);
    DumpResult result = Dump({"requests"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.Lines().size(), 1u);
    EXPECT_EQ(result.err, "quorex-dump: requests.con: byte " + std::to_string(second + 8) +
                              ": entry 1: its digest does not match its bytes\n");

    damaged = entryBytes;
    damaged[8] = 'X';  // the first entry's role
    WriteBytes("requests.con", damaged);
    result = Dump({"requests"});
    EXPECT_EQ(result.err, "quorex-dump: requests.con: byte 8: entry 0: its digest does not match its bytes\n");
}

}  // namespace
