#include <gtest/gtest.h>

#include <QCoreApplication>

#include "QtCoreTestSupport.h"
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "client/shell/QtMessageBridge.h"

using namespace kvt;

namespace {

// A real Qt event loop on the test's thread, which is the user interface thread here.
class QtMessageBridgeTest : public test::QtCoreTest {};

class OrderCheckingWindow : public CMessageTarget {
public:
    void OnMessage(unsigned, WParam wParam, LParam) override {
        if (std::this_thread::get_id() != uiThread) ++wrongThread;
        if (wParam != handled + 1) ++outOfOrder;
        handled = wParam;
    }
    std::thread::id uiThread = std::this_thread::get_id();
    int wrongThread = 0;
    int outOfOrder = 0;
    WParam handled = 0;  // written on the UI thread; the sender reads it after each Send returns
};

class QuitWindow : public CMessageTarget {
public:
    void OnMessage(unsigned, WParam, LParam) override { QCoreApplication::quit(); }
};

TEST_F(QtMessageBridgeTest, DeliveriesFromAnotherThreadRunOnTheEventLoopInOrder) {
    CQtMessageBridge qtBridge;
    CMessageBridge& bridge = qtBridge.Bridge();
    OrderCheckingWindow window;
    QuitWindow quitter;
    CWindowRef windowRef, quitRef;
    windowRef.Set(&window);
    quitRef.Set(&quitter);

    constexpr WParam kMessages = 2000;
    int notHandledOnReturn = 0;
    std::thread reactor([&] {
        for (WParam i = 1; i <= kMessages; ++i) {
            bridge.Send(windowRef, WM_ORDER_RTN, i, 0);
            if (window.handled != i) ++notHandledOnReturn;
        }
        bridge.Post(quitRef, WM_PAGE_REFRESH, 0, 0);
    });
    QCoreApplication::exec();
    reactor.join();
    EXPECT_EQ(window.handled, kMessages);
    EXPECT_EQ(window.wrongThread, 0);
    EXPECT_EQ(window.outOfOrder, 0);
    EXPECT_EQ(notHandledOnReturn, 0);
}

// A modal dialog or message box runs a nested event loop; deliveries go on inside it.
TEST_F(QtMessageBridgeTest, DeliveriesContinueInsideANestedEventLoop) {
    CQtMessageBridge qtBridge;
    CMessageBridge& bridge = qtBridge.Bridge();
    OrderCheckingWindow window;
    CWindowRef windowRef;
    windowRef.Set(&window);
    QEventLoop nested;
    class NestedQuit : public CMessageTarget {
    public:
        explicit NestedQuit(QEventLoop& loop) : m_loop(loop) {}
        void OnMessage(unsigned, WParam, LParam) override { m_loop.quit(); }

    private:
        QEventLoop& m_loop;
    } nestedQuit(nested);
    CWindowRef quitRef;
    quitRef.Set(&nestedQuit);

    std::thread reactor;
    QTimer::singleShot(0, [&] {
        reactor = std::thread([&] {
            for (WParam i = 1; i <= 100; ++i) bridge.Send(windowRef, WM_ORDER_RTN, i, 0);
            bridge.Post(quitRef, WM_PAGE_REFRESH, 0, 0);
        });
        nested.exec();
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    reactor.join();
    EXPECT_EQ(window.handled, 100u);
    EXPECT_EQ(window.outOfOrder, 0);
}

}  // namespace
