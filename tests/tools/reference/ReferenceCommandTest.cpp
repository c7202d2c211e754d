// quorex-reference's command line: --help and --version print and write no file, mistakes are
// named with exit code 2 before anything is written, and a file given is written whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "api/ApiTestSupport.h"
#include "quorex/Version.h"
#include "tools/reference/ReferenceCommand.h"

namespace {

namespace fs = std::filesystem;

struct CCommandRun {
    int exitCode = -1;
    std::string out, err;
};

CCommandRun RunReference(std::initializer_list<const char*> args) {
    std::vector<std::string> storage{"quorex-reference"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) argv.push_back(arg.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    CCommandRun run;
    run.exitCode = quorex::reference::RunReference(static_cast<int>(argv.size()), argv.data());
    run.out = testing::internal::GetCapturedStdout();
    run.err = testing::internal::GetCapturedStderr();
    return run;
}

bool DirectoryIsEmpty() { return fs::is_empty(fs::current_path()); }

class ReferenceCommand : public quorex::test::CWorkingDirectoryTest {};

TEST_F(ReferenceCommand, HelpAndVersionPrintAndWriteNoFile) {
    const CCommandRun help = RunReference({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: quorex-reference [OUTPUT-FILE]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("Exit status:"), std::string::npos);
    EXPECT_TRUE(DirectoryIsEmpty());

    const CCommandRun version = RunReference({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("quorex-reference ") + QUOREX_VERSION + "\n");
    EXPECT_TRUE(DirectoryIsEmpty());
}

TEST_F(ReferenceCommand, MistakesAreNamedWithExitTwoAndWriteNothing) {
    const struct {
        std::initializer_list<const char*> args;
        const char* message;
    } cases[] = {
        {{"--output", "x.md"}, "quorex-reference: unknown option --output"},
        {{"-h2"}, "quorex-reference: unknown option -h2"},
        {{"a.md", "b.md"}, "quorex-reference: one output file at most, not also b.md"},
    };
    for (const auto& mistake : cases) {
        const CCommandRun run = RunReference(mistake.args);
        EXPECT_EQ(run.exitCode, 2) << mistake.message;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), mistake.message);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(DirectoryIsEmpty()) << mistake.message;
    }
}

TEST_F(ReferenceCommand, AnOutputFileGetsTheWholeReference) {
    const CCommandRun run = RunReference({"reference.md"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::ifstream file("reference.md");
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(text.rfind("# quorex reference\n", 0), 0u);
    EXPECT_NE(text.find("## Code values"), std::string::npos);  // the last section

    EXPECT_EQ(RunReference({"no-such-directory/reference.md"}).exitCode, 1);
}

}  // namespace
