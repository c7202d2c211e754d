// KvtTrade's options: server addresses, defaults, refusals, the toolkit's options and the display.
#include <gtest/gtest.h>

#include <iterator>
#include <string_view>

#include "client/shell/CommandLine.h"

using namespace kvt;

TEST(CommandLine, ServersDefaultToTheBundledExchangeAndCanBeSetOneByOne) {
    const CCommandLine none = ParseCommandLine({});
    ASSERT_TRUE(none.error.empty());
    for (const CServerAddress& server : none.options.servers) {
        EXPECT_EQ(server.host, "127.0.0.1");
        EXPECT_EQ(server.port, 6669);
    }
    const CCommandLine set = ParseCommandLine({"--server", "2=exchange.example:7001", "--server=4=10.1.2.3"});
    ASSERT_TRUE(set.error.empty()) << set.error;
    EXPECT_EQ(set.options.servers[1].host, "exchange.example");
    EXPECT_EQ(set.options.servers[1].port, 7001);
    EXPECT_EQ(set.options.servers[3].host, "10.1.2.3");
    EXPECT_EQ(set.options.servers[3].port, 6669);
    EXPECT_EQ(set.options.servers[0].host, "127.0.0.1");
    EXPECT_TRUE(ParseCommandLine({"--help"}).options.help);
    EXPECT_FALSE(none.options.advanced);
    EXPECT_TRUE(ParseCommandLine({"--advanced"}).options.advanced);
    EXPECT_EQ(ParseCommandLine({"--snapshot", "/tmp/shot"}).options.snapshotPrefix, "/tmp/shot");
    EXPECT_FALSE(ParseCommandLine({"--snapshot"}).error.empty());
}

TEST(CommandLine, BadServersAndUnknownOptionsAreRefused) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--server"}, {"--server", "5=host"}, {"--server", "0=host"},
                                               {"--server", "1="}, {"--server", "1=host:0"},
                                               {"--server", "1=host:99999"}, {"--server", "1=host:x"},
                                               {"--server", "x=host"},
                                               {"--server", "1=" + std::string(32, 'h')}, {"--bogus"}}) {
        EXPECT_FALSE(ParseCommandLine(arguments).error.empty()) << arguments.back();
    }
}

TEST(CommandLine, TheToolkitsOwnOptionsAndTheirValuesAreLeftToIt) {
    const char* argv[] = {"KvtTrade", "-platform", "offscreen", "--advanced", "-reverse", "--style=fusion",
                          "--server", "1=h", "-stylesheet", "a.qss", "-bogus"};
    const std::vector<std::string> own = OwnArguments(static_cast<int>(std::size(argv)), argv);
    EXPECT_EQ(own, (std::vector<std::string>{"--advanced", "--server", "1=h", "-bogus"}));
    // What is left is ours, so a mistake among it is still reported.
    EXPECT_EQ(ParseCommandLine(own).error, "unknown option -bogus");
}

TEST(CommandLine, TheDisplayIsLookedForAsTheToolkitWouldLookForIt) {
    struct TCase {
        std::vector<const char*> argv;
        const char* qpa;
        const char* x11;
        const char* wayland;
        bool available;
    };
    const std::vector<TCase> cases = {
        {{"KvtTrade"}, nullptr, nullptr, nullptr, false},
        {{"KvtTrade"}, nullptr, "", "", false},
        {{"KvtTrade"}, nullptr, ":0", nullptr, true},
        {{"KvtTrade"}, nullptr, nullptr, "wayland-0", true},
        {{"KvtTrade"}, "offscreen", nullptr, nullptr, true},
        {{"KvtTrade"}, "xcb", nullptr, "wayland-0", false},
        {{"KvtTrade"}, "wayland;xcb", ":1", nullptr, true},
        {{"KvtTrade"}, "wayland-egl", nullptr, nullptr, false},
        {{"KvtTrade", "-platform", "offscreen"}, "xcb", nullptr, nullptr, true},
        {{"KvtTrade", "--platform=minimal"}, nullptr, nullptr, nullptr, true},
        {{"KvtTrade", "-platform", "xcb"}, "offscreen", nullptr, nullptr, false},
    };
    for (const TCase& c : cases) {
        const auto environment = [&c](const char* name) -> const char* {
            if (std::string_view(name) == "QT_QPA_PLATFORM") return c.qpa;
            if (std::string_view(name) == "DISPLAY") return c.x11;
            if (std::string_view(name) == "WAYLAND_DISPLAY") return c.wayland;
            return nullptr;
        };
        EXPECT_EQ(DisplayAvailable(static_cast<int>(c.argv.size()), c.argv.data(), environment), c.available)
            << (c.qpa ? c.qpa : "-") << " " << c.argv.back();
    }
}
