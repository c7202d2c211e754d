// KvtTrade: the desktop client of one trader for the two-way bidding market.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/shell/CommandLine.h"
#include "client/app/Application.h"
#include "client/app/DemoSnapshots.h"
#include "client/shell/ui/Fonts.h"
#include "quorex/Version.h"

int main(int argc, char** argv) {
    // --help and --version need no display, so they are answered before the toolkit starts.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kvt::CommandLineUsage(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("KvtTrade %s\n", QUOREX_VERSION);
            return 0;
        }
    }
    QApplication application(argc, argv);
    // The toolkit has taken its own options out of argv; the rest are ours.
    const QStringList arguments = QCoreApplication::arguments();
    std::vector<std::string> options;
    for (qsizetype i = 1; i < arguments.size(); ++i) options.push_back(arguments[i].toStdString());
    const kvt::CCommandLine commandLine = kvt::ParseCommandLine(options);
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "KvtTrade: %s\n%s", commandLine.error.c_str(), kvt::CommandLineUsage());
        return 2;
    }
    kvt::InstallFontFallbacks();
    kvt::CApplication client(commandLine.options);
    if (!client.Start()) return 0;
    if (!commandLine.options.snapshotPrefix.empty()) {
        kvt::TakeDemoSnapshots(client, QString::fromStdString(commandLine.options.snapshotPrefix));
    }
    return QApplication::exec();
}
