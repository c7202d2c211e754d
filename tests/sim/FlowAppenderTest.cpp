// The day's files written a pass at a time: the records come out as the kernel's flow keeps them,
// each file takes one write per pass (and one more per id entry due), a pass without records
// writes nothing, the journal goes first, and a kill at any byte of any of a pass's writes leaves
// files that a start repairs into a prefix of what was held.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "DayFolderSupport.h"
#include "api/ApiTestSupport.h"
#include "public/Flow.h"
#include "public/FlowRepair.h"
#include "sim/FlowAppender.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

// Every write the appenders made, as the file written and the bytes it took.
std::vector<std::pair<std::string, std::size_t>> g_writes;

ssize_t RecordedWrite(int fd, const void* bytes, std::size_t length) {
    const ssize_t written = ::write(fd, bytes, length);
    if (written > 0)
        g_writes.emplace_back(fs::read_symlink("/proc/self/fd/" + std::to_string(fd)).filename().string(), written);
    return written;
}

ssize_t FullDisk(int, const void*, std::size_t) {
    errno = ENOSPC;
    return -1;
}

// Record number n of a test flow: a few bytes that differ from record to record.
std::vector<std::uint8_t> RecordOf(std::uint32_t n) {
    std::vector<std::uint8_t> record(10 + n % 7);
    for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(n * 31 + i);
    return record;
}

std::vector<std::vector<char>> RecordsFrom(std::uint32_t first, std::uint32_t end) {
    std::vector<std::vector<char>> records;
    for (std::uint32_t n = first; n < end; ++n) {
        const std::vector<std::uint8_t> record = RecordOf(n);
        records.emplace_back(record.begin(), record.end());
    }
    return records;
}

const CFlowFilePaths kFlow{"flow.id", "flow.con"};

class FlowAppenderTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        g_writes.clear();
    }
    // Holds records first to end - 1 and writes them as one pass.
    static std::uint32_t Pass(CHeldWrites& held, CFlowAppender& appender, std::uint32_t first, std::uint32_t end) {
        for (std::uint32_t n = first; n < end; ++n) appender.Hold(RecordOf(n));
        return held.Write();
    }
};

TEST_F(FlowAppenderTest, PassesWriteWhatTheKernelsFlowKeepsAndReadsBack) {
    {
        CHeldWrites held;
        CFlowAppender appender(kFlow, 0, 0, held);
        std::uint32_t written = 0;
        for (const std::uint32_t pass : {1u, 7u, 99u, 143u, 0u, 50u}) {
            Pass(held, appender, written, written + pass);
            written += pass;
        }
    }
    {
        CFlow kernel("kernel.id", "kernel.con", false);
        for (std::uint32_t n = 0; n < 300; ++n) kernel.Append(RecordOf(n), 0);
    }
    EXPECT_EQ(Bytes(kFlow.idFile), Bytes("kernel.id"));
    EXPECT_EQ(Records(kFlow.contentFile), Records("kernel.con"));
    EXPECT_EQ(Records(kFlow.contentFile), RecordsFrom(0, 300));
    const TFlowCheck check = CheckFlowFiles(kFlow.idFile, kFlow.contentFile, 4096);
    EXPECT_FALSE(check.Damaged());
    EXPECT_FALSE(check.NeedsRepair());

    // Reopened where the files end, it carries on; opened on files that do not hold what the
    // caller found, it refuses and names the file.
    CHeldWrites held;
    CFlowAppender appender(kFlow, 300, check.contentSize, held);
    Pass(held, appender, 300, 301);
    EXPECT_EQ(Records(kFlow.contentFile), RecordsFrom(0, 301));
    try {
        CFlowAppender stale(kFlow, 300, check.contentSize, held);
        ADD_FAILURE() << "a flow that grew meanwhile was taken";
    } catch (const CDayFileError& error) {
        EXPECT_NE(std::string(error.what()).find("flow.con: holds"), std::string::npos) << error.what();
    }
}

TEST_F(FlowAppenderTest, APassWritesEachFileOnceAndOnceMorePerIdEntryAndAnIdlePassNothing) {
    CHeldWrites held(&RecordedWrite);
    CFlowAppender flow(kFlow, 0, 0, held);
    CFlowAppender journal({"journal.id", "journal.con"}, 0, 0, held, true);

    EXPECT_EQ(Pass(held, flow, 0, 5), 1u);
    EXPECT_EQ(held.Write(), 0u);  // nothing held: no write at all
    EXPECT_EQ(held.Writes(), 1u);

    // The journal took its entry after the flow took its records, and still goes first.
    g_writes.clear();
    flow.Hold(RecordOf(5));
    journal.Hold(RecordOf(0));
    EXPECT_EQ(held.Write(), 2u);
    ASSERT_EQ(g_writes.size(), 2u);
    EXPECT_EQ(g_writes[0].first, "journal.con");
    EXPECT_EQ(g_writes[1].first, "flow.con");

    // Up to record 250: the hundredth and the two-hundredth record are due their id entries, so the
    // content goes in two pieces, each followed by its entry.
    g_writes.clear();
    EXPECT_EQ(Pass(held, flow, 6, 250), 4u);
    const std::vector<std::string> files{g_writes[0].first, g_writes[1].first, g_writes[2].first, g_writes[3].first};
    EXPECT_EQ(files, (std::vector<std::string>{"flow.con", "flow.id", "flow.con", "flow.id"}));
    EXPECT_EQ(Records(kFlow.contentFile), RecordsFrom(0, 250));
    EXPECT_FALSE(CheckFlowFiles(kFlow.idFile, kFlow.contentFile, 4096).NeedsRepair());
}

TEST_F(FlowAppenderTest, AKillAtAnyByteOfAPassLeavesWhatAStartRepairsIntoAPrefix) {
    constexpr std::uint32_t kBefore = 95;
    constexpr std::uint32_t kAfter = 205;  // the pass completes the hundredth and the two-hundredth record
    std::uint64_t contentBefore = 0;
    {
        CHeldWrites held;
        CFlowAppender appender(kFlow, 0, 0, held);
        Pass(held, appender, 0, kBefore);
        contentBefore = fs::file_size(kFlow.contentFile);
        CHeldWrites recorded(&RecordedWrite);
        CFlowAppender again(kFlow, kBefore, contentBefore, recorded);
        Pass(recorded, again, kBefore, kAfter);
    }
    const std::vector<char> content = Bytes(kFlow.contentFile);
    const std::vector<char> id = Bytes(kFlow.idFile);
    ASSERT_EQ(g_writes.size(), 4u);

    // The files as a kill leaves them: every write before write w whole, write w cut after cut bytes.
    std::uint64_t contentSize = contentBefore;
    std::uint64_t idSize = 0;
    const auto state = [&](std::uint64_t contentCut, std::uint64_t idCut) {
        Write("state.con", {content.begin(), content.begin() + static_cast<std::ptrdiff_t>(contentCut)});
        Write("state.id", {id.begin(), id.begin() + static_cast<std::ptrdiff_t>(idCut)});
    };
    std::size_t states = 0;
    for (const auto& [file, length] : g_writes) {
        const bool isContent = file == "flow.con";
        for (std::size_t cut = 0; cut <= length; ++cut, ++states) {
            state(contentSize + (isContent ? cut : 0), idSize + (isContent ? 0 : cut));
            SCOPED_TRACE(file + " cut after " + std::to_string(cut) + " of " + std::to_string(length) + " bytes");
            const TFlowCheck check = CheckFlowFiles("state.id", "state.con", 4096);
            ASSERT_FALSE(check.Damaged()) << static_cast<int>(check.damage);
            ASSERT_TRUE(RepairFlowFiles("state.id", "state.con", check));
            const std::vector<std::vector<char>> kept = Records("state.con");
            ASSERT_GE(kept.size(), kBefore);
            EXPECT_EQ(kept, RecordsFrom(0, static_cast<std::uint32_t>(kept.size())));
            CFlow reopened("state.id", "state.con", true);
            EXPECT_EQ(reopened.Count(), kept.size());
        }
        (isContent ? contentSize : idSize) += length;
    }
    EXPECT_EQ(states, content.size() - contentBefore + id.size() + g_writes.size());
}

TEST_F(FlowAppenderTest, AWriteThatFailsStopsTheProcessNamingTheFile) {
    CHeldWrites held(&FullDisk);
    CFlowAppender appender(kFlow, 0, 0, held);
    appender.Hold(RecordOf(0));
    EXPECT_EXIT(held.Write(), ::testing::ExitedWithCode(3),
                "cannot write flow.con \\(No space left on device\\); stopping");
}

}  // namespace
}  // namespace quorex::sim::test
