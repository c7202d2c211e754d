// The command line of KvtTrade:
//   --server N=HOST[:PORT]   address of server N (1 to 4) of the login dialog; repeatable
//   --advanced               shows the batch mode button, the order form's 预埋 button and a tab
//                            "预埋单" for the pre-order page, which are hidden otherwise
//   --snapshot PREFIX        for demos without a screen: once logged in and the account and the
//                            market are shown, saves PREFIX-<page>.png pictures of the window and
//                            closes it (logging out)
//   --help                   prints the options and exits
//   --version                prints the program's version and exits (answered before parsing)
// Options the windowing toolkit reads itself (-platform and the like) are left to it. The whole
// command line is checked, and the display looked for, before the toolkit starts, so that a
// mistake or a missing display is said plainly instead of ending in the toolkit's abort.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "client/shell/ServerList.h"

namespace kvt {

struct CStartOptions {
    CServerList servers;
    bool help = false;
    bool advanced = false;
    std::string snapshotPrefix;  // empty: none
};

struct CCommandLine {
    CStartOptions options;
    std::string error;  // empty when the command line was understood
};

CCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// argv[1..argc) without the windowing toolkit's own options ("-platform offscreen", "-reverse",
// "--style=fusion", ...), which the toolkit takes itself.
std::vector<std::string> OwnArguments(int argc, const char* const* argv);

// Whether the toolkit will find a display: an explicit platform ("-platform NAME" on the command
// line, else QT_QPA_PLATFORM) other than xcb or wayland needs none; xcb needs DISPLAY, wayland
// WAYLAND_DISPLAY; with no platform named either will do.
using EnvironmentLookup = std::function<const char*(const char* name)>;
bool DisplayAvailable(int argc, const char* const* argv, const EnvironmentLookup& environment);

// What KvtTrade says, on standard error, when there is no display.
inline constexpr const char* kNoDisplayText = "no display: set DISPLAY, or run tools/run-demo.sh, which uses Xvfb";

// The text --help prints.
const char* CommandLineUsage();

}  // namespace kvt
