// quorex-dump's command line: help, version, package types and file names, and what a bad
// argument gets told.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sys/wait.h>

#include "quorex/Version.h"
#include "tools/dump/DumpTestSupport.h"

using namespace quorex;
using namespace quorex::test;

namespace {

TEST(DumpCommandLine, HelpAndVersionSucceed) {
    DumpResult result = Dump({"--help"});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.starts_with("usage: quorex-dump [--tid TID[,TID...]]... FLOW\n")) << result.out;
    EXPECT_NE(result.out.find("--version"), std::string::npos);
    EXPECT_EQ(Dump({"log1", "--help"}).code, 0);

    result = Dump({"--version"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, std::string("quorex-dump ") + QUOREX_VERSION + "\n");
}

TEST(DumpCommandLine, BadArgumentsAreExplained) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{"--tid", "xyz", "log1"}, "--tid: xyz is not a package type"},
        {{"--tid=0x12345", "log1"}, "--tid: 0x12345 is not a package type"},  // hexadecimal, not in the catalogue
        {{"--tid", "0x100000033", "log1"}, "--tid: 0x100000033 is not a package type"},
        {{"--tid", "0x", "log1"}, "--tid: 0x is not a package type"},
        {{"--tid", "33,", "log1"}, "--tid: an empty value is not a package type"},
        {{"--tid", "-33", "log1"}, "--tid: -33 is not a package type"},
        {{"--tid", "33 ", "log1"}, "--tid: 33  is not a package type"},
        {{"log1", "--tid"}, "--tid needs a package type"},
        {{"--tids", "33", "log1"}, "unknown option --tids"},
        {{}, "no flow given"},
        {{"--tid", "33"}, "no flow given"},
        {{"a", "b", "c"}, "too many files: give one flow name or an id file and a content file"},
    };
    for (const auto& [arguments, error] : cases) {
        const DumpResult result = Dump(arguments);
        EXPECT_EQ(result.code, 2) << error;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "quorex-dump: " + error + "\nTry 'quorex-dump --help'.\n");
    }
}

TEST(DumpCommandLine, PackageTypesInEveryAcceptedForm) {
    EXPECT_EQ(dump::ParsePackageType("33"), 0x33u);
    EXPECT_EQ(dump::ParsePackageType("0x00000033"), 0x33u);
    EXPECT_EQ(dump::ParsePackageType("0X9f3"), 0x9F3u);
    EXPECT_EQ(dump::ParsePackageType("02002002"), 0x02002002u);
    // Types from 0x10000000 have no catalogue entry and are passed on unchecked; they can be asked for.
    EXPECT_EQ(dump::ParsePackageType("10000001"), 0x10000001u);
    EXPECT_EQ(dump::ParsePackageType("ffffffff"), 0xFFFFFFFFu);
    EXPECT_EQ(dump::ParsePackageType("34"), std::nullopt);
    EXPECT_EQ(dump::ParsePackageType("0"), std::nullopt);

    const std::vector<std::string_view> arguments{"--tid", "33,0x143", "--tid=F2", "--tid", "33", "log9.con"};
    const dump::CommandLine command = dump::ParseCommandLine(arguments);
    ASSERT_EQ(command.action, dump::CommandLine::Action::kDump) << command.error;
    EXPECT_EQ(command.options.tids, (std::set<std::uint32_t>{0x33, 0x143, 0xF2}));
    EXPECT_EQ(command.options.idFile, "log9.id");
    EXPECT_EQ(command.options.contentFile, "log9.con");
}

TEST(DumpCommandLine, FileNamesOfThePair) {
    const auto pair = [](std::vector<std::string_view> arguments) {
        const dump::CommandLine command = dump::ParseCommandLine(arguments);
        return command.options.idFile + " " + command.options.contentFile;
    };
    EXPECT_EQ(pair({"dir/log1.id"}), "dir/log1.id dir/log1.con");
    EXPECT_EQ(pair({"log1"}), "log1.id log1.con");
    EXPECT_EQ(pair({"x.id", "y.con"}), "x.id y.con");
    // "-" alone is a file name, not an option.
    EXPECT_EQ(pair({"-"}), "-.id -.con");
}

// The installed program itself: exit codes reach the shell, and a damaged pair does not crash it.
class DumpProgram : public DumpTest {
protected:
    static int Run(const std::string& arguments, std::string& out) {
        const std::string command = std::string(QUOREX_DUMP_PROGRAM) + " " + arguments + " 2>&1";
        std::FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return -1;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        const int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(DumpProgram, ExitCodesOfTheProgram) {
    WriteOrderFlow("day", 2);
    std::string out;
    EXPECT_EQ(Run("day", out), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;

    std::vector<std::uint8_t> content = FileBytes("day.con");
    content.pop_back();
    WriteBytes("day.con", content);
    out.clear();
    EXPECT_EQ(Run("day", out), 1);
    EXPECT_NE(out.find("quorex-dump: day.con: byte 175: "), std::string::npos) << out;

    out.clear();
    EXPECT_EQ(Run("--tid nothing day", out), 2);
    out.clear();
    EXPECT_EQ(Run("--version", out), 0);
    EXPECT_TRUE(out.starts_with("quorex-dump ")) << out;
}

}  // namespace
