// The command line of KvtTrade:
//   --server N=HOST[:PORT]   address of server N (1 to 4) of the login dialog; repeatable
//   --advanced               shows the batch mode button, the order form's 预埋 button and a tab
//                            "预埋单" for the pre-order page, which are hidden otherwise
//   --snapshot PREFIX        for demos without a screen: once logged in and the account and the
//                            market are shown, saves PREFIX-<page>.png pictures of the window and
//                            closes it (logging out)
//   --help                   prints the options and exits
//   --version                prints the program's version and exits (answered before parsing)
// Options the windowing toolkit reads itself (-platform and the like) are left to it.
#pragma once

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

// The text --help prints.
const char* CommandLineUsage();

}  // namespace kvt
