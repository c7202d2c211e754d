// KvtTrade's own options; every server address is checked before anything starts.
#include "client/shell/CommandLine.h"

#include <charconv>

namespace kvt {

namespace {

bool ParseNumber(std::string_view text, int& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// "N=HOST[:PORT]" into the server list; an error text, or "".
std::string ParseServer(std::string_view text, CServerList& servers) {
    const std::size_t equals = text.find('=');
    int number = 0;
    if (equals == std::string_view::npos || !ParseNumber(text.substr(0, equals), number) || number < 1 ||
        number > static_cast<int>(servers.size())) {
        return "--server needs N=HOST[:PORT] with N from 1 to 4";
    }
    std::string_view host = text.substr(equals + 1);
    int port = kDefaultServerPort;
    if (const std::size_t colon = host.rfind(':'); colon != std::string_view::npos) {
        if (!ParseNumber(host.substr(colon + 1), port) || port < 1 || port > 65535) {
            return "--server: the port must be a number from 1 to 65535";
        }
        host = host.substr(0, colon);
    }
    if (host.empty() || host.size() > kMaxServerHostLength) return "--server: the host must have 1 to 31 characters";
    servers[static_cast<std::size_t>(number - 1)] = {std::string(host), port};
    return std::string();
}

}  // namespace

const char* CommandLineUsage() {
    return "usage: KvtTrade [options]\n"
           "  --server N=HOST[:PORT]  address of server N (1 to 4) of the login dialog, port 6669 unless\n"
           "                          given; repeatable; every server is 127.0.0.1:6669 by default\n"
           "  --advanced              show the batch mode button (批量模式), the order form's 预埋 button\n"
           "                          and a tab 预埋单 for the pre-orders; hidden otherwise\n"
           "  --snapshot PREFIX       once logged in and the account and the market are shown, save\n"
           "                          pictures of the window as PREFIX-<page>.png, then close it\n"
           "                          (logging out); for demos without anyone at the screen\n"
           "  --help                  print these options and exit\n"
           "  --version               print the program's version and exit\n"
           "The program keeps its files (kvtsys.data and the library's per-trader files) in the\n"
           "current directory.\n";
}

CCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CCommandLine result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            result.options.help = true;
        } else if (argument == "--server") {
            if (i + 1 >= arguments.size()) {
                result.error = "--server needs N=HOST[:PORT]";
                return result;
            }
            result.error = ParseServer(arguments[++i], result.options.servers);
        } else if (argument == "--advanced") {
            result.options.advanced = true;
        } else if (argument == "--snapshot") {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                result.error = "--snapshot needs a path prefix";
                return result;
            }
            result.options.snapshotPrefix = arguments[++i];
        } else if (argument.rfind("--server=", 0) == 0) {
            result.error = ParseServer(std::string_view(argument).substr(9), result.options.servers);
        } else {
            result.error = "unknown option " + argument;
        }
        if (!result.error.empty()) return result;
    }
    return result;
}

}  // namespace kvt
