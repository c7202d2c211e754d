// CQtMessageBridge: eventfd wake-ups for the bridge, served by the Qt event loop.
#include "client/shell/QtMessageBridge.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cstdint>

#include "client/shell/ClientErrors.h"

namespace kvt {

CQtMessageBridge::CQtMessageBridge()
    : m_eventFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_bridge(*this) {
    if (m_eventFd < 0) throw CRuntimeError(kBridgeCannotCreateEventFd, kModuleMessageBridge, __LINE__);
    m_notifier = std::make_unique<QSocketNotifier>(m_eventFd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
}

CQtMessageBridge::~CQtMessageBridge() {
    // Stop first: no sender writes to the descriptor once the bridge has stopped.
    m_bridge.Stop();
    m_notifier.reset();
    ::close(m_eventFd);
}

void CQtMessageBridge::Wake() {
    const std::uint64_t one = 1;
    // Fails only when the counter is about to overflow, and then a wake-up is pending anyway.
    [[maybe_unused]] const ssize_t written = ::write(m_eventFd, &one, sizeof one);
}

void CQtMessageBridge::OnReadable() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_eventFd, &count, sizeof count);
    m_bridge.Deliver();
}

}  // namespace kvt
