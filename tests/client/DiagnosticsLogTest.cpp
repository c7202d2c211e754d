// KvtTrade.log: the library's messages as UTF-8 lines with time and level, a grown file put
// aside, an unwritable directory survived, and nothing written once the log is gone.
#include <gtest/gtest.h>

#include <filesystem>

#include "ClientTestSupport.h"
#include "ScratchFiles.h"
#include "client/shell/DiagnosticsLog.h"
#include "public/ErrorReport.h"
#include "quorex/Text.h"

using namespace kvt;
using kvt::test::CScratchDirectory;
using kvt::test::FileBytes;

namespace {

std::time_t NoonOfTheDemoDay() { return kvt::test::LocalTime(2026, 12, 9, 12, 0, 0); }

}  // namespace

TEST(DiagnosticsLog, TheLibrarysMessagesBecomeUtf8LinesWithTimeAndLevelUntilTheLogIsGone) {
    const CScratchDirectory directory;
    const std::string path = directory.Name() + "/KvtTrade.log";
    {
        const CDiagnosticsLog log(directory.Name(), &NoonOfTheDemoDay);
        ASSERT_TRUE(log.IsOpen());
        EXPECT_EQ(log.Path(), path);
        // The library's own words are UTF-8; a text it passes on may be GBK.
        quorex::Log(quorex::LogLevel::kDiagnostic, "日期变更，修改接收断点! pr=%d\n", 0);
        quorex::Log(quorex::LogLevel::kError, "%s\n", quorex::Utf8ToGbk("/tmp/用户.id: cannot be repaired").c_str());
        quorex::Log(quorex::LogLevel::kError, "runtime error:\n%s\nin file %s, line %d\n", "bad package", "x.cpp", 7);
    }
    const std::string written = FileBytes(path);
    EXPECT_EQ(written,
              "2026-12-09 12:00:00 diagnostic 日期变更，修改接收断点! pr=0\n"
              "2026-12-09 12:00:00 error /tmp/用户.id: cannot be repaired\n"
              "2026-12-09 12:00:00 error runtime error:\n  bad package\n  in file x.cpp, line 7\n");
    // Once the log is gone the library is silent: nothing more reaches the file (nor stdout).
    quorex::Log(quorex::LogLevel::kError, "ChannelLost  ErrorCode=%d\n", 4097);
    EXPECT_EQ(FileBytes(path), written);
    quorex::SetLogSink(nullptr, nullptr);

    // A second run appends, after ending a line an earlier run's kill cut short.
    kvt::test::WriteBytes(path, written + "2026-12-09 12:00:00 error Chann");
    {
        const CDiagnosticsLog log(directory.Name(), &NoonOfTheDemoDay);
        quorex::Log(quorex::LogLevel::kError, "ChannelLost  ErrorCode=%d\n", 4097);
    }
    quorex::SetLogSink(nullptr, nullptr);
    EXPECT_EQ(FileBytes(path), written + "2026-12-09 12:00:00 error Chann\n"
                                         "2026-12-09 12:00:00 error ChannelLost  ErrorCode=4097\n");
}

TEST(DiagnosticsLog, AFileGrownPastItsLimitIsPutAsideAtTheStart) {
    const CScratchDirectory directory;
    const std::string path = directory.Name() + "/KvtTrade.log";
    kvt::test::WriteBytes(path, std::string(kDiagnosticsLogLimit + 1, 'x'));
    {
        const CDiagnosticsLog log(directory.Name(), &NoonOfTheDemoDay);
        quorex::Log(quorex::LogLevel::kDiagnostic, "fresh\n");
    }
    quorex::SetLogSink(nullptr, nullptr);
    EXPECT_EQ(FileBytes(path), "2026-12-09 12:00:00 diagnostic fresh\n");
    EXPECT_EQ(std::filesystem::file_size(path + ".1"), kDiagnosticsLogLimit + 1);
}

TEST(DiagnosticsLog, AnUnwritableDirectoryDropsTheMessagesAndKeepsTheProgramGoing) {
    const CScratchDirectory directory;
    const std::string missing = directory.Name() + "/no-such-directory";
    {
        const CDiagnosticsLog log(missing, &NoonOfTheDemoDay);
        EXPECT_FALSE(log.IsOpen());
        quorex::Log(quorex::LogLevel::kError, "connect Fialed!!\n");
    }
    quorex::SetLogSink(nullptr, nullptr);
    EXPECT_FALSE(std::filesystem::exists(missing));
}
