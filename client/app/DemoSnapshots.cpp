// The demo's pictures: wait for the account and the market, select each page, grab, close.
#include "client/app/DemoSnapshots.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "client/app/Application.h"
#include "client/shell/ui/MainWindow.h"

namespace kvt {

namespace {

constexpr int kPollMilliseconds = 250;
constexpr int kGiveUpPolls = 120;       // 30 seconds
constexpr int kSettleMilliseconds = 3000;
constexpr int kSecondCloseMilliseconds = 3000;

struct CShot {
    int tab;
    const char* name;
};
constexpr CShot kShots[] = {{3, "matches"}, {4, "positions"}, {5, "capital"}, {1, "orders"}, {0, "quotations"}};

void SaveShots(CApplication& application, const QString& prefix) {
    for (const CShot& shot : kShots) {
        application.Tabs().OnTabPressed(shot.tab);
        // Let the refresh a selection posts come back before the picture.
        for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
        const QString path = prefix + "-" + shot.name + ".png";
        if (application.Window().grab().save(path)) std::printf("screenshot: %s\n", path.toLocal8Bit().constData());
    }
    std::fflush(stdout);
}

void Close(CApplication& application) {
    application.Window().close();
    QTimer::singleShot(kSecondCloseMilliseconds, &application.Window(), [&application] { application.Window().close(); });
}

void Poll(CApplication& application, const QString& prefix, int polls) {
    if (!application.ShowsAccountAndMarket() && polls < kGiveUpPolls) {
        QTimer::singleShot(kPollMilliseconds, &application.Window(),
                           [&application, prefix, polls] { Poll(application, prefix, polls + 1); });
        return;
    }
    QTimer::singleShot(kSettleMilliseconds, &application.Window(), [&application, prefix] {
        SaveShots(application, prefix);
        Close(application);
    });
}

}  // namespace

void TakeDemoSnapshots(CApplication& application, const QString& prefix) { Poll(application, prefix, 0); }

}  // namespace kvt
