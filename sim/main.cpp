// exchange-sim: the exchange simulator on loopback TCP, with the built-in demo day or a trading day
// from a TOML file, kept in a folder so that a restart on the same trade date carries on with the
// day. It runs until interrupted (SIGINT or SIGTERM).
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "quorex/Version.h"
#include "sim/CommandLine.h"
#include "sim/SimServer.h"
#include "sim/TradingDay.h"

namespace {

// What the start found in the day's folder, after the line that names the port.
void ReportDay(quorex::sim::CSimServer& server, const std::string& folder) {
    quorex::sim::CExchange::CRestored restored;
    server.RunOnReactor([&](quorex::sim::CExchange& exchange) { restored = exchange.Restored(); });
    for (const std::string& repair : restored.repairs) std::printf("exchange-sim: repaired %s\n", repair.c_str());
    if (!restored.resumed) {
        std::printf("exchange-sim: a new day, kept in %s\n", folder.c_str());
        return;
    }
    std::printf("exchange-sim: the day goes on from %s (%u requests handled again, %u packages written again)\n",
                folder.c_str(), restored.requests, restored.packagesWritten);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    quorex::sim::CCommandLine line;
    std::string error;
    if (!quorex::sim::ParseCommandLine(arguments, line, error)) {
        std::fprintf(stderr, "exchange-sim: %s (exchange-sim --help lists the options)\n", error.c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(quorex::sim::UsageText().data(), stdout);
        return 0;
    }
    if (line.version) {
        std::puts("exchange-sim " QUOREX_VERSION);
        return 0;
    }
    if (line.printDemo) {
        std::fputs(quorex::sim::DemoDayToml().data(), stdout);
        return 0;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    const std::string today = quorex::sim::LocalDate();
    auto day = line.config.empty() ? quorex::sim::ParseTradingDay(quorex::sim::DemoDayToml(), "demo day", today, error)
                                   : quorex::sim::LoadTradingDay(line.config, today, error);
    if (!day) {
        std::fprintf(stderr, "exchange-sim: %s\n", error.c_str());
        return 1;
    }
    if (!line.tradeDate.empty()) day->tradeDate = line.tradeDate;
    const std::string tradeDate = day->tradeDate;
    quorex::sim::CServerOptions options = line.server;
    options.dataDir = line.dataDir.empty() ? quorex::sim::DefaultDataDir(tradeDate) : line.dataDir;

    // The signals are taken by this thread alone: the reactor thread inherits the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    const auto server = std::make_unique<quorex::sim::CSimServer>(std::move(*day), options);
    if (!server->Start(error)) {
        std::fprintf(stderr, "exchange-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("exchange-sim: trade date %s, listening on %s:%u%s\n", tradeDate.c_str(), options.host.c_str(),
                static_cast<unsigned>(server->Port()), options.bot ? ", market bot on" : "");
    ReportDay(*server, options.dataDir);
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server->Stop();
    std::printf("exchange-sim: stopped\n");
    return 0;
}
