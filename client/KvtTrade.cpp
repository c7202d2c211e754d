// KvtTrade: the desktop client of one trader for the two-way bidding market.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/shell/CommandLine.h"
#include "client/shell/DiagnosticsLog.h"
#include "client/app/Application.h"
#include "client/app/DemoSnapshots.h"
#include "client/shell/ui/Fonts.h"
#include "quorex/Version.h"

int main(int argc, char** argv) {
    // The command line and the display are checked before the toolkit starts: it would abort
    // without a display, and it does not report our options' mistakes.
    const std::vector<std::string> arguments = kvt::OwnArguments(argc, argv);
    for (const std::string& argument : arguments) {
        if (argument == "--version") {
            std::printf("KvtTrade %s\n", QUOREX_VERSION);
            return 0;
        }
    }
    const kvt::CCommandLine commandLine = kvt::ParseCommandLine(arguments);
    if (commandLine.options.help) {
        std::fputs(kvt::CommandLineUsage(), stdout);
        return 0;
    }
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "KvtTrade: %s\n%s", commandLine.error.c_str(), kvt::CommandLineUsage());
        return 2;
    }
    if (!kvt::DisplayAvailable(argc, argv, [](const char* name) { return std::getenv(name); })) {
        std::fprintf(stderr, "KvtTrade: %s\n", kvt::kNoDisplayText);
        return 1;
    }
    // Outlives every API object, so that no library message reaches the terminal.
    const kvt::CDiagnosticsLog libraryLog;
    QApplication application(argc, argv);
    kvt::InstallFontFallbacks();
    kvt::CApplication client(commandLine.options);
    if (!client.Start()) return 0;
    if (!commandLine.options.snapshotPrefix.empty()) {
        kvt::TakeDemoSnapshots(client, QString::fromStdString(commandLine.options.snapshotPrefix));
    }
    return QApplication::exec();
}
