// KvtTrade as a user starts it from a terminal: its command line and a missing display are said
// before the toolkit starts, with honest exit codes, and a whole session (log in, pictures, log
// out) leaves the terminal quiet, the library's own lines being in KvtTrade.log.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ProgramRun.h"
#include "ScratchFiles.h"
#include "client/shell/LoginSettings.h"
#include "tests/sim/SimProcess.h"

namespace kvt::test {
namespace {

using CRun = quorex::test::CProgramRun;

// Runs KvtTrade in directory with an environment prefix ("env -u DISPLAY ...").
CRun RunProgram(const std::filesystem::path& directory, const std::string& environment, const std::string& arguments) {
    return quorex::test::RunInDirectory(directory, "timeout 60 " + environment + " '" KVT_PROGRAM "' " + arguments);
}

constexpr const char* kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";

}  // namespace

TEST(KvtTradeProgram, TheCommandLineAndAMissingDisplayAreSaidBeforeTheToolkitStarts) {
    const CScratchDirectory directory;
    const CRun help = RunProgram(directory.Path(), kNoDisplay, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("KvtTrade.log"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);

    const CRun wrong = RunProgram(directory.Path(), kNoDisplay, "--servr 1=host");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_EQ(wrong.err.substr(0, wrong.err.find('\n')), "KvtTrade: unknown option --servr");

    const CRun headless = RunProgram(directory.Path(), kNoDisplay, "--advanced");
    EXPECT_EQ(headless.exitCode, 1);
    EXPECT_EQ(headless.err, "KvtTrade: no display: set DISPLAY, or run tools/run-demo.sh, which uses Xvfb\n");
    EXPECT_TRUE(headless.out.empty());
    // Nothing was started, so nothing was written.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.Path()), {}), 1);  // stderr.txt
}

TEST(KvtTradeProgram, ASessionLeavesTheTerminalQuietAndTheLibrarysLinesInItsLog) {
    const CScratchDirectory directory;
    quorex::sim::test::CSimProcess simulator(KVT_EXCHANGE_SIM, {});
    ASSERT_NE(simulator.port, 0) << "exchange-sim did not start";
    CLoginSettings settings;
    settings.traderCode = "00010001";
    settings.password = "trader1";
    settings.rememberPassword = true;
    settings.autoLogin = true;
    ASSERT_TRUE(WriteLoginSettings((directory.Path() / "kvtsys.data").string(), settings));

    const CRun run = RunProgram(directory.Path(), "env QT_QPA_PLATFORM=offscreen",
                                "--server 1=127.0.0.1:" + std::to_string(simulator.port) + " --snapshot shot");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(directory.Path() / "shot-quotations.png"));
    // The library's lines ("日期变更，修改接收断点!", "ChannelLost ...") are in the log, not on stdout.
    EXPECT_EQ(run.out.find("ChannelLost"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("日期变更"), std::string::npos) << run.out;
    const std::string log = FileBytes(directory.Path() / "KvtTrade.log");
    EXPECT_NE(log.find("ChannelLost"), std::string::npos) << log;
    EXPECT_NE(log.find("日期变更"), std::string::npos) << log;
    // The layout is kept beside kvtsys.data, which keeps its 56 bytes.
    EXPECT_TRUE(std::filesystem::exists(directory.Path() / "KvtTrade.ini"));
    EXPECT_EQ(std::filesystem::file_size(directory.Path() / "kvtsys.data"), 56u);
}

}  // namespace kvt::test
