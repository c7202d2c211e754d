#include "sim/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace quorex::sim {
namespace {

struct CParsed {
    bool ok;
    CCommandLine line;
    std::string error;
};

CParsed Parse(std::vector<std::string_view> arguments) {
    CParsed parsed;
    parsed.ok = ParseCommandLine(arguments, parsed.line, parsed.error);
    return parsed;
}

TEST(CommandLineTest, ReadsEveryKindOfOption) {
    const CParsed parsed = Parse({"--port", "0", "--host", "127.0.0.2", "--bot", "--seed", "4294967295", "--data-dir", "day",
                                  "--trade-date", "20260105", "--drop-after", "3", "--no-heartbeat", "--delay-ms", "0"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.line.server.port, 0);
    EXPECT_EQ(parsed.line.server.host, "127.0.0.2");
    EXPECT_TRUE(parsed.line.server.bot);
    EXPECT_EQ(parsed.line.server.botSeed, 4294967295u);
    EXPECT_EQ(parsed.line.dataDir, "day");
    EXPECT_EQ(parsed.line.tradeDate, "20260105");
    EXPECT_EQ(parsed.line.server.faults.dropAfterPackages, 3);
    EXPECT_TRUE(parsed.line.server.faults.noHeartbeat);
    EXPECT_TRUE(Parse({"--help"}).line.help);
    EXPECT_TRUE(Parse({"--version"}).line.version);
    EXPECT_EQ(Parse({"--port", "65535"}).line.server.port, 65535);
}

TEST(CommandLineTest, BadValuesAreNamedWithTheirOption) {
    EXPECT_EQ(Parse({"--port", "99999"}).error, "--port: 99999 is not a port 0-65535");
    EXPECT_EQ(Parse({"--port", "-1"}).error, "--port: -1 is not a port 0-65535");
    EXPECT_EQ(Parse({"--port", "12ab"}).error, "--port: 12ab is not a port 0-65535");
    EXPECT_EQ(Parse({"--seed", "4294967296"}).error, "--seed: 4294967296 is not a number 0-4294967295");
    EXPECT_EQ(Parse({"--bot-interval-ms", "0"}).error, "--bot-interval-ms: 0 is not a number of milliseconds above 0");
    EXPECT_EQ(Parse({"--login-timeout", "99999999999"}).error, "--login-timeout: 99999999999 is not a number of seconds (0 or more)");
    EXPECT_EQ(Parse({"--trade-date", "2026-1-5"}).error, "--trade-date: 2026-1-5 is not a date YYYYMMDD");
    EXPECT_EQ(Parse({"--trade-date", "20261340"}).error, "--trade-date: 20261340 is not a date YYYYMMDD (there is no month 13)");
    EXPECT_EQ(Parse({"--trade-date", "20260230"}).error,
              "--trade-date: 20260230 is not a date YYYYMMDD (February 2026 has days 01 to 28)");
    EXPECT_EQ(Parse({"--trade-date", "00000000"}).error, "--trade-date: 00000000 is not a date YYYYMMDD (there is no year 0000)");
    EXPECT_TRUE(Parse({"--trade-date", "20280229"}).ok);
    EXPECT_EQ(Parse({"--host", "localhost"}).error, "--host: localhost is not an IPv4 address (such as 127.0.0.1)");
    EXPECT_EQ(Parse({"--host", "127.0.0.256"}).error, "--host: 127.0.0.256 is not an IPv4 address (such as 127.0.0.1)");
    EXPECT_EQ(Parse({"--data-dir", ""}).error, "--data-dir needs a value");
    EXPECT_EQ(Parse({"--port"}).error, "--port needs a value");
}

TEST(CommandLineTest, UnknownOptionsAndStrayWordsAreRefused) {
    EXPECT_EQ(Parse({"--x"}).error, "unknown option --x");
    EXPECT_EQ(Parse({"--bot", "99999"}).error, "unknown option 99999");
    EXPECT_FALSE(Parse({"--help", "--x"}).ok);
}

TEST(CommandLineTest, UsageListsEveryOption) {
    const std::string_view usage = UsageText();
    for (const char* option : {"--host", "--port", "--config", "--print-demo-config", "--trade-date", "--data-dir", "--bot ",
                               "--bot-interval-ms", "--seed", "--login-timeout", "--quiet", "--help", "--version", "--drop-after",
                               "--malformed-frame", "--malformed-package", "--delay-ms", "--no-heartbeat"}) {
        EXPECT_NE(usage.find(option), std::string_view::npos) << option;
    }
    EXPECT_EQ(DefaultDataDir("20260105"), "exchange-sim-20260105");
}

}  // namespace
}  // namespace quorex::sim
