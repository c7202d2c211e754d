// The example programs' command-line reader: what it accepts, and the texts and exit codes of
// what it refuses.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "examples/CommandLine.h"

using examples::CArguments;
using examples::ReadCommandLine;

namespace {

struct CParsed {
    std::optional<int> exitCode;
    std::string out, err;
    std::vector<std::string> seen;  // what the program's own options read
};

// Runs the reader over "program ARGS..." with a program that knows --port, --price, --type,
// --state and --amount.
CParsed Read(std::initializer_list<const char*> args) {
    std::vector<std::string> storage{"program"};
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : storage) argv.push_back(arg.data());
    CParsed parsed;
    const auto take = [&](CArguments& arguments) {
        const std::string option = arguments.Option();
        if (option == "--port") parsed.seen.push_back(std::to_string(arguments.Port()));
        else if (option == "--price") parsed.seen.push_back(std::to_string(arguments.Price()));
        else if (option == "--type") parsed.seen.push_back(std::string(1, arguments.OneOf("01")));
        else if (option == "--state") parsed.seen.push_back(std::string(1, arguments.Character()));
        else if (option == "--amount") parsed.seen.push_back(std::to_string(arguments.Integer(1, 100)));
        else return false;
        return true;
    };
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    parsed.exitCode = ReadCommandLine(static_cast<int>(argv.size()), argv.data(), "program", "usage: program\n", take);
    parsed.out = testing::internal::GetCapturedStdout();
    parsed.err = testing::internal::GetCapturedStderr();
    return parsed;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

TEST(ExampleCommandLine, GoodValuesAreReadAndTheProgramGoesOn) {
    const CParsed parsed = Read({"--port", "0", "--port", "65535", "--price", "3510.5", "--type", "1", "--state", "x",
                                 "--amount", "100"});
    EXPECT_FALSE(parsed.exitCode.has_value());
    EXPECT_EQ(parsed.seen, (std::vector<std::string>{"0", "65535", "3510.500000", "1", "x", "100"}));
    EXPECT_EQ(parsed.out + parsed.err, "");
    EXPECT_FALSE(Read({}).exitCode.has_value());
}

TEST(ExampleCommandLine, HelpAndVersionEndTheProgramWithZeroBeforeAnyLaterOption) {
    const CParsed help = Read({"--help", "--bogus"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, "usage: program\n");
    EXPECT_EQ(Read({"-h"}).exitCode, 0);
    const CParsed version = Read({"--port", "1", "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("program ") + QUOREX_VERSION + "\n");
}

TEST(ExampleCommandLine, MistakesAreNamedAndEndTheProgramWithTwo) {
    const struct {
        std::initializer_list<const char*> args;
        const char* message;
    } cases[] = {
        {{"--bogus"}, "program: unknown option --bogus"},
        {{"stray"}, "program: unknown option stray"},
        {{"--port", "99999"}, "program: --port: 99999 is not a port 0-65535"},
        {{"--port", "-1"}, "program: --port: -1 is not a port 0-65535"},
        {{"--port", "80x"}, "program: --port: 80x is not a port 0-65535"},
        {{"--port", "99999999999999999999"}, "program: --port: 99999999999999999999 is not a port 0-65535"},
        {{"--port"}, "program: --port: a value is missing"},
        {{"--price", "abc"}, "program: --price: abc is not a price"},
        {{"--price", "0"}, "program: --price: 0 is not a price"},
        {{"--price", "inf"}, "program: --price: inf is not a price"},
        {{"--price", ""}, "program: --price: \"\" is not a price"},
        {{"--type", "2"}, "program: --type: 2 is not one of 0, 1"},
        {{"--type", "01"}, "program: --type: 01 is not one of 0, 1"},
        {{"--state", "ab"}, "program: --state: ab is not a single character"},
        {{"--amount", "0"}, "program: --amount: 0 is not a whole number 1-100"},
    };
    for (const auto& mistake : cases) {
        const CParsed parsed = Read(mistake.args);
        EXPECT_EQ(parsed.exitCode, 2) << mistake.message;
        EXPECT_EQ(FirstLine(parsed.err), mistake.message);
        EXPECT_EQ(parsed.out, "");
    }
}
