// exchange-sim: the exchange simulator on loopback TCP, with the built-in demo day or a trading day
// from a TOML file. It runs until interrupted (SIGINT or SIGTERM).
#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "sim/SimServer.h"
#include "sim/TradingDay.h"

namespace {

constexpr const char* kUsage =
    "usage: exchange-sim [options]\n"
    "  --host ADDRESS        IPv4 address to listen on (default 127.0.0.1)\n"
    "  --port N              TCP port (default 6669; 0 picks a free one)\n"
    "  --config FILE         trading day in TOML (default: the built-in demo day)\n"
    "  --print-demo-config   print the demo day's TOML and exit\n"
    "  --trade-date YYYYMMDD the trading day's date (default: the configuration's, else today)\n"
    "  --bot                 market activity: a bot places and cancels orders\n"
    "  --bot-interval-ms N   milliseconds between the bot's actions (default 200)\n"
    "  --seed N              the bot's random seed (default 1)\n"
    "  --login-timeout S     end connections not logged in after S seconds (default 30; 0: never)\n"
    "  --quiet               no line per connection\n"
    "fault injection (every session):\n"
    "  --drop-after N        end the connection after sending N packages\n"
    "  --malformed-frame     after the first package, send a broken frame header\n"
    "  --malformed-package   after the first package, send a package whose length is wrong\n"
    "  --delay-ms N          handle each request N milliseconds after it arrived\n"
    "  --no-heartbeat        send no heartbeats (and do not time out silent clients)\n";

template <class Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool ParseOptions(int argc, char** argv, quorex::sim::CServerOptions& options, std::string& config, std::string& tradeDate,
                  bool& printDemo) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view flag = argv[i];
        const auto value = [&]() -> std::string_view { return i + 1 < argc ? std::string_view(argv[++i]) : std::string_view(); };
        bool ok = true;
        if (flag == "--host") {
            options.host = value();
        } else if (flag == "--port") {
            ok = ParseNumber(value(), options.port);
        } else if (flag == "--config") {
            config = value();
            ok = !config.empty();
        } else if (flag == "--trade-date") {
            tradeDate = value();
            ok = tradeDate.size() == 8 && tradeDate.find_first_not_of("0123456789") == std::string::npos;
        } else if (flag == "--print-demo-config") {
            printDemo = true;
        } else if (flag == "--bot") {
            options.bot = true;
        } else if (flag == "--bot-interval-ms") {
            ok = ParseNumber(value(), options.botIntervalMs) && options.botIntervalMs > 0;
        } else if (flag == "--seed") {
            ok = ParseNumber(value(), options.botSeed);
        } else if (flag == "--login-timeout") {
            ok = ParseNumber(value(), options.loginTimeoutSeconds) && options.loginTimeoutSeconds >= 0;
        } else if (flag == "--quiet") {
            options.logSessions = false;
        } else if (flag == "--drop-after") {
            ok = ParseNumber(value(), options.faults.dropAfterPackages) && options.faults.dropAfterPackages > 0;
        } else if (flag == "--malformed-frame") {
            options.faults.malformedFrame = true;
        } else if (flag == "--malformed-package") {
            options.faults.malformedPackage = true;
        } else if (flag == "--delay-ms") {
            ok = ParseNumber(value(), options.delayMs) && options.delayMs >= 0;
        } else if (flag == "--no-heartbeat") {
            options.faults.noHeartbeat = true;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "exchange-sim: bad option %s\n%s", argv[i], kUsage);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    quorex::sim::CServerOptions options;
    std::string config;
    std::string tradeDate;
    bool printDemo = false;
    if (!ParseOptions(argc, argv, options, config, tradeDate, printDemo)) return 2;
    if (printDemo) {
        std::fputs(quorex::sim::DemoDayToml().data(), stdout);
        return 0;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    std::string error;
    const std::string today = quorex::sim::LocalDate();
    auto day = config.empty() ? quorex::sim::ParseTradingDay(quorex::sim::DemoDayToml(), "demo day", today, error)
                              : quorex::sim::LoadTradingDay(config, today, error);
    if (!day) {
        std::fprintf(stderr, "exchange-sim: %s\n", error.c_str());
        return 1;
    }
    if (!tradeDate.empty()) day->tradeDate = tradeDate;
    tradeDate = day->tradeDate;

    // The signals are taken by this thread alone: the reactor thread inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    quorex::sim::CSimServer server(std::move(*day), options);
    if (!server.Start(error)) {
        std::fprintf(stderr, "exchange-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("exchange-sim: trade date %s, listening on %s:%u%s\n", tradeDate.c_str(), options.host.c_str(),
                static_cast<unsigned>(server.Port()), options.bot ? ", market bot on" : "");
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    std::printf("exchange-sim: stopped\n");
    return 0;
}
