// The command line of exchange-sim: its options, their checks and the usage text. A pure
// function of the arguments; any thread.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "sim/SimServer.h"

namespace quorex::sim {

struct CCommandLine {
    CServerOptions server;
    std::string config;     // empty: the built-in demo day
    std::string tradeDate;  // empty: the configuration's, else today
    std::string dataDir;    // empty: "exchange-sim-YYYYMMDD" in the current directory
    bool printDemo = false;
    bool help = false;
    bool version = false;
};

// Reads the arguments (without the program name) into line; false with error set to one line
// naming the option ("unknown option --x", "--port: 99999 is not a port 0-65535").
bool ParseCommandLine(std::span<const std::string_view> arguments, CCommandLine& line, std::string& error);
// Every option, one line each.
std::string_view UsageText();
// The day's folder when --data-dir is not given.
std::string DefaultDataDir(std::string_view tradeDate);

}  // namespace quorex::sim
