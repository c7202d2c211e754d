// KvtTrade's options: server addresses, defaults, and refusals.
#include <gtest/gtest.h>

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
