// CQtMessageBridge: a CMessageBridge driven by the Qt event loop of the thread that constructs it.
// Waking writes to an eventfd; a QSocketNotifier on that descriptor runs Deliver in the event
// loop, also in the nested loops of modal dialogs and message boxes. Nothing is allocated per
// message.
//
// Thread contract: construct and destroy on the user interface thread, which runs a Qt event loop
// (a QCoreApplication or QApplication must exist). Bridge() may be used from any thread as
// CMessageBridge allows. Ownership: owns the eventfd, the notifier and the bridge.
#pragma once

#include <memory>

#include "client/shell/MessageBridge.h"

class QSocketNotifier;

namespace kvt {

class CQtMessageBridge final : private CBridgeWakeup {
public:
    // Throws CRuntimeError when the eventfd cannot be created.
    CQtMessageBridge();
    CQtMessageBridge(const CQtMessageBridge&) = delete;
    CQtMessageBridge& operator=(const CQtMessageBridge&) = delete;
    ~CQtMessageBridge() override;

    CMessageBridge& Bridge() { return m_bridge; }

private:
    void Wake() override;
    void OnReadable();

    int m_eventFd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    CMessageBridge m_bridge;
};

}  // namespace kvt
