#include "sim/CommandLine.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstdint>
#include <limits>

namespace quorex::sim {
namespace {

constexpr std::string_view kUsage =
    "usage: exchange-sim [options]\n"
    "  --host ADDRESS        IPv4 address to listen on (default 127.0.0.1)\n"
    "  --port N              TCP port (default 6669; 0 picks a free one)\n"
    "  --config FILE         trading day in TOML (default: the built-in demo day)\n"
    "  --print-demo-config   print the demo day's TOML and exit\n"
    "  --trade-date YYYYMMDD the trading day's date (default: the configuration's, else today)\n"
    "  --data-dir DIR        folder that keeps the day, so that a restart on the same trade date\n"
    "                        carries on with it (default: exchange-sim-YYYYMMDD, after the trade\n"
    "                        date, in the current directory)\n"
    "  --bot                 market activity: a bot places and cancels orders\n"
    "  --bot-interval-ms N   milliseconds between the bot's actions (default 200)\n"
    "  --seed N              the bot's random seed (default 1)\n"
    "  --login-timeout S     end connections not logged in after S seconds (default 30; 0: never)\n"
    "  --quiet               no line per connection\n"
    "  --help                print this list and exit\n"
    "  --version             print the version and exit\n"
    "fault injection (every session):\n"
    "  --drop-after N        end the connection after sending N packages\n"
    "  --malformed-frame     after the first package, send a broken frame header\n"
    "  --malformed-package   after the first package, send a package whose length is wrong\n"
    "  --delay-ms N          handle each request N milliseconds after it arrived\n"
    "  --no-heartbeat        send no heartbeats (and do not time out silent clients)\n";

// A whole decimal number within [low, high].
template <class Number>
bool ParseNumber(std::string_view text, Number& value, long long low, long long high) {
    long long parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || parsed < low || parsed > high) return false;
    value = static_cast<Number>(parsed);
    return true;
}

bool IsIpv4Address(std::string_view text) {
    in_addr address{};
    return ::inet_pton(AF_INET, std::string(text).c_str(), &address) == 1;
}

}  // namespace

std::string_view UsageText() { return kUsage; }

std::string DefaultDataDir(std::string_view tradeDate) { return "exchange-sim-" + std::string(tradeDate); }

bool ParseCommandLine(std::span<const std::string_view> arguments, CCommandLine& line, std::string& error) {
    constexpr long long kIntMax = std::numeric_limits<int>::max();
    CServerOptions& options = line.server;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view flag = arguments[i];
        std::string_view value;
        // Takes the option's value; false (with the error) when the arguments end first.
        const auto takeValue = [&]() {
            if (i + 1 >= arguments.size()) return error = std::string(flag) + " needs a value", false;
            value = arguments[++i];
            return true;
        };
        // Checks a value; false with "FLAG: VALUE is not WHAT" when the check fails.
        const auto check = [&](bool ok, const std::string& what) {
            if (value.empty()) return error = std::string(flag) + " needs a value", false;
            if (!ok) error = std::string(flag) + ": " + std::string(value) + " is not " + what;
            return ok;
        };
        bool ok = true;
        if (flag == "--host") {
            ok = takeValue() && check(IsIpv4Address(value), "an IPv4 address (such as 127.0.0.1)");
            options.host = value;
        } else if (flag == "--port") {
            ok = takeValue() && check(ParseNumber(value, options.port, 0, 65535), "a port 0-65535");
        } else if (flag == "--config") {
            ok = takeValue() && check(true, "a file");
            line.config = value;
        } else if (flag == "--trade-date") {
            std::string why;
            ok = takeValue();
            const bool date = ok && IsTradeDate(value, why);
            ok = ok && check(date, why.empty() ? "a date YYYYMMDD" : "a date YYYYMMDD (" + why + ")");
            line.tradeDate = value;
        } else if (flag == "--data-dir") {
            ok = takeValue() && check(true, "a folder");
            line.dataDir = value;
        } else if (flag == "--print-demo-config") {
            line.printDemo = true;
        } else if (flag == "--bot") {
            options.bot = true;
        } else if (flag == "--bot-interval-ms") {
            ok = takeValue() && check(ParseNumber(value, options.botIntervalMs, 1, kIntMax), "a number of milliseconds above 0");
        } else if (flag == "--seed") {
            ok = takeValue() && check(ParseNumber(value, options.botSeed, 0, std::numeric_limits<std::uint32_t>::max()),
                                      "a number 0-4294967295");
        } else if (flag == "--login-timeout") {
            ok = takeValue() && check(ParseNumber(value, options.loginTimeoutSeconds, 0, kIntMax), "a number of seconds (0 or more)");
        } else if (flag == "--quiet") {
            options.logSessions = false;
        } else if (flag == "--help") {
            line.help = true;
        } else if (flag == "--version") {
            line.version = true;
        } else if (flag == "--drop-after") {
            ok = takeValue() && check(ParseNumber(value, options.faults.dropAfterPackages, 1, kIntMax), "a number of packages above 0");
        } else if (flag == "--malformed-frame") {
            options.faults.malformedFrame = true;
        } else if (flag == "--malformed-package") {
            options.faults.malformedPackage = true;
        } else if (flag == "--delay-ms") {
            ok = takeValue() && check(ParseNumber(value, options.delayMs, 0, kIntMax), "a number of milliseconds (0 or more)");
        } else if (flag == "--no-heartbeat") {
            options.faults.noHeartbeat = true;
        } else {
            error = "unknown option " + std::string(flag);
            ok = false;
        }
        if (!ok) return false;
    }
    return true;
}

}  // namespace quorex::sim
