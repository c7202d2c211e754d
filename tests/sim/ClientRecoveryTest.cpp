// The library's recovery against the simulator: a refused login followed by an accepted one on
// the same object, and a client process killed with SIGKILL at random moments while it trades, whose
// next login still gets every package of the day exactly once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ApiTrader.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

// The child program of the kill test, built beside this test program.
fs::path KillableTrader() { return fs::read_symlink("/proc/self/exe").parent_path() / "killable_trader"; }

// Starts the killable trader on the simulator's port in the current directory, its output gone.
pid_t SpawnKillableTrader(std::uint16_t port) {
    std::string program = KillableTrader().string();
    std::string portText = std::to_string(port);
    char* argv[] = {program.data(), portText.data(), nullptr};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[0], argv);
        ::_exit(127);
    }
    return pid;
}

std::vector<std::string> KeysOf(const std::vector<CCall>& calls, const std::string& name) {
    std::vector<std::string> keys;
    for (const CCall& call : calls)
        if (call.name == name) keys.push_back(call.key);
    return keys;
}

std::size_t CountOf(CCallLog& log, const std::string& name) { return KeysOf(log.Calls(), name).size(); }

// Waits until the log holds at least count calls of the name; false after twenty seconds.
bool WaitForCount(CCallLog& log, const std::string& name, std::size_t count) {
    for (int attempt = 0; attempt < 2000 && CountOf(log, name) < count; ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return CountOf(log, name) >= count;
}

TEST_F(SimEndToEndTest, AWrongPasswordThenTheRightOneLogInOnTheSameObject) {
    StartServer();
    CApiTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    trader.SetService("127.0.0.1", server->Port());
    const auto logIn = [&](const char* password) {
        TReqTraderLogin login{};
        SetText(login.traderID, "00010001");
        SetText(login.memberID, "0001");
        SetText(login.password, quorex::PasswordDigest(password));
        return trader.ReqTraderLogin(&login);
    };
    ASSERT_EQ(logIn("wrong"), 0);
    ASSERT_TRUE(trader.log.WaitFor([](const CCall& call) { return call.name == "Login" && call.code != "RSP000000"; }));
    // The refused first login of the user left no file, and the library ended the session itself.
    for (int attempt = 0; attempt < 500 && !fs::is_empty(fs::current_path()); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(fs::is_empty(fs::current_path()));

    ASSERT_EQ(logIn("trader1"), 0);
    ASSERT_TRUE(trader.log.WaitFor("SendOver"));
    EXPECT_TRUE(fs::exists("T_CLOCK00010001.dat"));
    EXPECT_EQ(KeysOf(trader.log.Calls(), "ChannelLost").size(), 0u);
}

TEST_F(SimEndToEndTest, AClientKilledAtRandomMomentsGetsEveryPackageOfTheDayExactlyOnce) {
    if (!fs::exists(KillableTrader())) GTEST_SKIP() << KillableTrader() << " is not built";
    StartServer();
    constexpr int kKills = 100;
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    int endedByItself = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = SpawnKillableTrader(server->Port());
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(20, 200)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (!WIFSIGNALED(status)) ++endedByItself;
    }
    EXPECT_EQ(endedByItself, 0) << "the killable trader ended before it was killed (seed " << seed << ")";

    // The next login replays what the killed clients' files kept, and the exchange sends the rest.
    CApiTrader trader;
    ASSERT_TRUE(trader.LogIn(server->Port(), "00010001", "trader1")) << "seed " << seed;
    TReqQryOrder orders{};
    TReqQryMatch matches{};
    ASSERT_EQ(trader.ReqQryYqOrder(&orders), 0);
    ASSERT_EQ(trader.ReqQryYqMatch(&matches), 0);
    ASSERT_TRUE(trader.log.WaitFor("QryYqOrderEnd"));
    ASSERT_TRUE(trader.log.WaitFor("QryYqMatchEnd"));
    const std::vector<std::string> queriedMatches = KeysOf(trader.log.Calls(), "QryYqMatch");
    ASSERT_FALSE(queriedMatches.empty()) << "the killed clients never traded";
    WaitForCount(trader.log, "RtnYqMatch", queriedMatches.size());

    const std::vector<CCall> calls = trader.log.Calls();
    const std::vector<std::string> delivered = Sequenced(calls);
    std::map<std::string, int> times;
    for (const std::string& delivery : delivered) ++times[delivery];
    int repeated = 0;
    for (const auto& [delivery, count] : times) repeated += count - 1;

    // Every match of the day arrived, and nothing that is not one of them.
    const std::vector<std::string> receivedMatches = KeysOf(calls, "RtnYqMatch");
    const std::set<std::string> matchSet(queriedMatches.begin(), queriedMatches.end());
    const std::set<std::string> receivedSet(receivedMatches.begin(), receivedMatches.end());
    int lost = 0;
    for (const std::string& match : matchSet) lost += receivedSet.contains(match) ? 0 : 1;
    EXPECT_EQ(receivedSet, matchSet);
    // Each order's last return says what the exchange holds for it.
    std::map<std::string, std::string> lastState;
    for (const CCall& call : calls) {
        if (call.name == "RtnYqOrder" || call.name == "RtnYqOrderCancel") lastState[call.key.substr(0, 14)] = call.key;
    }
    for (const std::string& state : KeysOf(calls, "QryYqOrderState")) {
        const std::string orderNo = state.substr(0, 14);
        if (!lastState.contains(orderNo)) ++lost;
        // A cancel's return carries the status only.
        EXPECT_TRUE(lastState.contains(orderNo) && state.starts_with(lastState[orderNo])) << state;
    }
    // The market flow: each instrument's quotations numbered 1, 2, ... without a gap.
    std::map<std::string, std::set<int>> quotations;
    for (const std::string& key : KeysOf(calls, "YqQuotation")) {
        const std::size_t slash = key.find('/');
        quotations[key.substr(0, slash)].insert(std::stoi(key.substr(slash + 1)));
    }
    for (const auto& [instrument, numbers] : quotations) {
        EXPECT_EQ(static_cast<int>(numbers.size()), *numbers.rbegin()) << instrument << " misses quotations";
    }
    EXPECT_EQ(repeated, 0) << "seed " << seed;
    EXPECT_EQ(lost, 0) << "seed " << seed;
    std::printf("%d kills (seed %u): %zu sequenced packages checked, %zu matches, %d lost, %d repeated\n", kKills, seed,
                delivered.size(), matchSet.size(), lost, repeated);
    RecordProperty("kills", kKills);
    RecordProperty("packages", static_cast<int>(delivered.size()));
    RecordProperty("lost", lost);
    RecordProperty("repeated", repeated);
}

}  // namespace
}  // namespace quorex::sim::test
