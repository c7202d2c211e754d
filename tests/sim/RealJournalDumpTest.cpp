// quorex-dump (the program, next to this test program in the build tree) on a journal the
// exchange wrote: every entry the restart handles again is one line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "DayFolderSupport.h"
#include "api/ApiTestSupport.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

fs::path DumpProgram() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "quorex-dump"; }

// The program's output lines (standard error included) and its exit code.
std::vector<std::string> RunDump(const std::string& arguments, int& code) {
    std::vector<std::string> lines;
    std::FILE* output = ::popen((DumpProgram().string() + " " + arguments + " 2>&1").c_str(), "r");
    if (output == nullptr) return lines;
    char line[8192];
    while (std::fgets(line, sizeof line, output) != nullptr) lines.emplace_back(line);
    code = WEXITSTATUS(::pclose(output));
    return lines;
}

class RealJournalDumpTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        if (!fs::exists(DumpProgram())) GTEST_SKIP() << DumpProgram() << " is not built";
    }
};

TEST_F(RealJournalDumpTest, PrintsEveryRequestTheDayJournaled) {
    {
        CExchangeHarness day(DemoDayToml(), "day");
        day.LoginTrader(1, "00010001", "trader1");
        day.LoginTrader(2, "00020001", "trader3");
        day.LoginMonitor(3);
        day.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 10, 1));
        day.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 4, 1));
        TReqInstStateUpdate pause{};
        SetText(pause.instID, "000002");
        pause.isChangeCommand = '2';
        day.Send(3, tid::ReqYqInstStateUpdate, pause);
    }
    int code = -1;
    const std::vector<std::string> lines = RunDump("day/requests.con", code);
    EXPECT_EQ(code, 0);
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    // The demo day's traders 00010001 and 00020001 are its first and third.
    EXPECT_TRUE(lines[0].starts_with("request=0 trader=#1 at=10:30:00 seq=")) << lines[0];
    EXPECT_NE(lines[0].find(" 双向竞价报单请求 "), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("traderID=\"00010001\""), std::string::npos) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("request=1 trader=#3 at=10:30:00 ")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("request=2 monitor=#1 at=10:30:00 ")) << lines[2];
    EXPECT_NE(lines[2].find("双向竞价合约交易状态改变请求"), std::string::npos) << lines[2];

    // The flows of the same folder still read as packages.
    const std::vector<std::string> market = RunDump("day/market", code);
    EXPECT_EQ(code, 0);
    ASSERT_FALSE(market.empty());
    EXPECT_TRUE(market[0].starts_with("seq=1 ")) << market[0];
}

}  // namespace
}  // namespace quorex::sim::test
