// The console examples as a user runs them against the demo day: their defaults log in, the
// last line and the exit code tell how the run ended, the library's own diagnostics appear only
// with --verbose, and an unreachable or silent exchange is named with what to check.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ApiTrader.h"
#include "ProgramRun.h"
#include "public/LoopbackSockets.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

std::string LastLine(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text.substr(text.rfind('\n') + 1);  // npos + 1 is 0: a single line
}

using CRun = quorex::test::CProgramRun;

// The example programs are built beside this test program: build/examples/<name>, and the
// guide's first program in build/docs.
fs::path Example(const std::string& name) {
    const fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    return build / (name == "first_program" ? "docs" : "examples") / name;
}

// Runs an example in a directory (which keeps its files).
CRun RunExample(const std::string& name, const std::vector<std::string>& arguments, const fs::path& directory = ".") {
    std::string command = "'" + Example(name).string() + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    return quorex::test::RunInDirectory(directory, command);
}

class ConsoleExampleTest : public SimEndToEndTest {
protected:
    void SetUp() override {
        SimEndToEndTest::SetUp();
        for (const char* name : {"trader_console", "admin_console", "first_program"})
            if (!fs::exists(Example(name))) GTEST_SKIP() << Example(name) << " is not built (cmake --build build)";
    }
    // The demo day's exchange, started by the test, and a console run against it.
    CRun Run(const std::string& name, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--port", std::to_string(server->Port()), "--seconds", "0"});
        return RunExample(name, arguments);
    }
};

TEST_F(ConsoleExampleTest, AnAcceptedOrderEndsWithLoggedOutAndExitZeroWithoutTheLibrarysLines) {
    StartServer();
    const CRun run = Run("trader_console", {"--buy", "000001", "3500", "1"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.Says("standard data complete"));  // the defaults are the demo trader 00010001
    EXPECT_TRUE(run.Says("order answer: RSP000000"));
    EXPECT_EQ(LastLine(run.out), "logged out");
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(run.Says("ChannelLost")) << run.out;
    EXPECT_FALSE(run.Says("日期变更")) << run.out;
}

TEST_F(ConsoleExampleTest, VerboseShowsTheLibrarysDiagnosticsOnStandardError) {
    StartServer();
    const CRun run = Run("trader_console", {"--verbose"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("日期变更，修改接收断点! pr=0\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("ChannelLost  ErrorCode=4097\n"), std::string::npos) << run.err;
    EXPECT_EQ(LastLine(run.out), "logged out");
}

TEST_F(ConsoleExampleTest, RefusalsAreNamedAndEndWithExitOne) {
    StartServer();
    const CRun order = Run("trader_console", {"--buy", "000009", "3500", "1"});
    EXPECT_EQ(order.exitCode, 1);
    EXPECT_EQ(order.err, "trader_console: the exchange refused the order: ERR001001 合约不存在\n");
    EXPECT_EQ(LastLine(order.out), "logged out");  // a refusal still logs out

    const CRun login = Run("trader_console", {"--password", "wrong"});
    EXPECT_EQ(login.exitCode, 1);
    EXPECT_NE(login.err.find("trader_console: the login was refused: ERR"), std::string::npos) << login.err;
    EXPECT_NE(login.err.find("(check --trader, --member and --password)"), std::string::npos) << login.err;

    const CRun command = Run("admin_console", {"--orders", "--inst-state", "000009", "x", "--matches"});
    EXPECT_EQ(command.exitCode, 1);
    EXPECT_EQ(command.err, "admin_console: the exchange refused the instrument state: ERR001001 合约不存在\n");
    EXPECT_EQ(LastLine(command.out), "logged out");
}

TEST_F(ConsoleExampleTest, TheMonitorsDefaultsLogInAndItsQueriesSucceed) {
    StartServer();
    const CRun run = Run("admin_console", {"--orders", "--matches"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.Says("login: RSP000000"));  // admin001 / admin1
    EXPECT_EQ(LastLine(run.out), "logged out");
    EXPECT_EQ(run.err, "");
}

TEST_F(ConsoleExampleTest, AnExchangeThatClosesTheConnectionEarlyIsAFailure) {
    CServerOptions options;
    options.faults.dropAfterPackages = 1;  // the login answer, then the end
    StartServer(options);
    const CRun trader = Run("trader_console", {});
    EXPECT_EQ(trader.exitCode, 1);
    EXPECT_EQ(LastLine(trader.err),
              "trader_console: the exchange closed the connection before the login was complete");
    const CRun monitor = Run("admin_console", {"--seconds", "2"});
    EXPECT_EQ(monitor.exitCode, 1);
    EXPECT_EQ(LastLine(monitor.err), "admin_console: the exchange closed the connection");
    EXPECT_FALSE(monitor.Says("logged out"));
}

TEST_F(ConsoleExampleTest, NoExchangeNamesTheAddressTriedAndWhatToCheck) {
    quorex::test::CLoopbackListener closed;
    const std::string port = std::to_string(closed.Port());
    closed.Close();  // nothing listens on the port now
    for (const char* name : {"trader_console", "admin_console"}) {
        const CRun run = RunExample(name, {"--port", port});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.err, std::string(name) + ": cannot connect to 127.0.0.1:" + port +
                               ". Is the exchange (for example exchange-sim) running and listening there? Check "
                               "--host and --port.\n");
        EXPECT_EQ(run.out, "");
    }
    const CRun verbose = RunExample("trader_console", {"--port", port, "--verbose"});
    EXPECT_EQ(verbose.err.substr(0, verbose.err.find('\n')), "connect Fialed!!");
}

TEST_F(ConsoleExampleTest, AnExchangeThatNeverAnswersIsNamedAfterTheTimeout) {
    quorex::test::CLoopbackListener silent;  // accepts connections (the backlog) but never answers
    const std::string port = std::to_string(silent.Port());
    for (const char* name : {"trader_console", "admin_console"}) {
        const CRun run = RunExample(name, {"--port", port, "--timeout", "1"});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.err, std::string(name) + ": the exchange at 127.0.0.1:" + port +
                               " accepted the connection but did not answer the login within 1 s\n");
    }
}

int CountLines(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);) count += line.starts_with(start);
    return count;
}

// The guide's first program: the market flow brings only the instruments with activity, the
// board every instrument.
TEST_F(ConsoleExampleTest, TheGuidesFirstProgramSeesTheMarketFlowAndTheWholeBoard) {
    StartServer();
    const std::string port = std::to_string(server->Port());
    const CRun quiet = RunExample("first_program", {port}, "quiet");
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
    EXPECT_EQ(CountLines(quiet.out, "instrument "), 3);
    EXPECT_EQ(CountLines(quiet.out, "market flow: "), 0) << quiet.out;  // nothing happened yet
    EXPECT_EQ(CountLines(quiet.out, "board: "), 3);
    EXPECT_EQ(LastLine(quiet.out), "logged out");
    EXPECT_EQ(quiet.err, "");

    ASSERT_EQ(Run("trader_console", {"--buy", "000002", "3600", "1"}).exitCode, 0);
    const CRun active = RunExample("first_program", {port}, "active");
    EXPECT_EQ(active.exitCode, 0) << active.err;
    EXPECT_EQ(CountLines(active.out, "market flow: "), CountLines(active.out, "market flow: 000002 ")) << active.out;
    EXPECT_GE(CountLines(active.out, "market flow: 000002 "), 1) << active.out;
    EXPECT_EQ(CountLines(active.out, "board: 000002 last 0.00 bid 3600.00 "), 1) << active.out;
    EXPECT_EQ(CountLines(active.out, "board: "), 3);

    EXPECT_EQ(RunExample("first_program", {"--port"}).exitCode, 2);
}

}  // namespace
}  // namespace quorex::sim::test
