// KvtTrade's own options; every server address is checked before anything starts.
#include "client/shell/CommandLine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "client/shell/DisplayFormats.h"

namespace kvt {

namespace {

bool ParseNumber(std::string_view text, int& value) {
    const std::optional<int> number = ParseExactInt(text);
    if (number) value = *number;
    return number.has_value();
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

// The toolkit's options that take a value (as the next argument or after '='), and its flags. It
// accepts each with one dash or two.
constexpr std::array<std::string_view, 16> kToolkitValueOptions = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "display", "geometry", "title", "name", "style", "stylesheet", "session",
    "qmljsdebugger", "fontengine"};
constexpr std::array<std::string_view, 5> kToolkitFlags = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// The toolkit's option name of argument ("-platform", "--style=x" -> "platform", "style"), or "".
std::string_view ToolkitOptionName(std::string_view argument, bool& valueAttached) {
    if (argument.size() < 2 || argument[0] != '-') return {};
    std::string_view name = argument.substr(argument[1] == '-' ? 2 : 1);
    const std::size_t equals = name.find('=');
    valueAttached = equals != std::string_view::npos;
    name = name.substr(0, equals);
    const auto known = [name](const auto& names) { return std::find(names.begin(), names.end(), name) != names.end(); };
    if (known(kToolkitValueOptions)) return name;
    if (!valueAttached && known(kToolkitFlags)) return name;
    return {};
}

bool IsToolkitFlag(std::string_view name) {
    return std::find(kToolkitFlags.begin(), kToolkitFlags.end(), name) != kToolkitFlags.end();
}

// The value of the toolkit's -platform option, or nullptr.
const char* PlatformArgument(int argc, const char* const* argv) {
    const char* platform = nullptr;
    for (int i = 1; i < argc; ++i) {
        bool valueAttached = false;
        if (ToolkitOptionName(argv[i], valueAttached) != "platform") continue;
        if (valueAttached) {
            platform = std::strchr(argv[i], '=') + 1;
        } else if (i + 1 < argc) {
            platform = argv[++i];
        }
    }
    return platform;
}

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::vector<std::string> OwnArguments(int argc, const char* const* argv) {
    std::vector<std::string> own;
    for (int i = 1; i < argc; ++i) {
        bool valueAttached = false;
        const std::string_view name = ToolkitOptionName(argv[i], valueAttached);
        if (name.empty()) {
            own.emplace_back(argv[i]);
        } else if (!valueAttached && !IsToolkitFlag(name) && i + 1 < argc) {
            ++i;  // the option's value
        }
    }
    return own;
}

bool DisplayAvailable(int argc, const char* const* argv, const EnvironmentLookup& environment) {
    const char* platform = PlatformArgument(argc, argv);
    if (!IsSet(platform)) platform = environment("QT_QPA_PLATFORM");
    const bool x11 = IsSet(environment("DISPLAY"));
    const bool wayland = IsSet(environment("WAYLAND_DISPLAY"));
    if (!IsSet(platform)) return x11 || wayland;
    // "xcb", "wayland", "wayland-egl", or a list such as "wayland;xcb": any one that has its display.
    const std::string_view platforms(platform);
    bool needsDisplay = false;
    bool found = false;
    std::size_t begin = 0;
    while (begin <= platforms.size()) {
        const std::size_t end = std::min(platforms.find(';', begin), platforms.size());
        const std::string_view one = platforms.substr(begin, end - begin);
        const std::string_view base = one.substr(0, one.find(':'));  // "xcb:option=..."
        if (base == "xcb") {
            needsDisplay = true;
            found = found || x11;
        } else if (base.rfind("wayland", 0) == 0) {
            needsDisplay = true;
            found = found || wayland;
        } else if (!base.empty()) {
            return true;  // offscreen, minimal, vnc, eglfs, ...: no display needed
        }
        begin = end + 1;
    }
    return !needsDisplay || found;
}

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
           "The toolkit's own options (-platform NAME, -style NAME, -reverse, ...) are passed to it.\n"
           "The program keeps its files in the current directory: kvtsys.data (the login dialog's\n"
           "settings), KvtTrade.ini (column widths and the window's layout), the library's\n"
           "per-trader files and KvtTrade.log, where the library's own diagnostics go (the\n"
           "terminal gets only the program's errors).\n"
           "Exit status: 0 after a normal end, 1 without a display, 2 for a mistake on the\n"
           "command line.\n";
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
