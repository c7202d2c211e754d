// CTerminationSignals: SIGTERM, SIGINT and SIGHUP (a shutdown, the end of the desktop session,
// Ctrl-C in a terminal) become one call on the user interface thread, so that the program ends the
// way the close box ends it (a logout, the pre-order file saved) instead of dying on the spot. The
// signal handler only writes a byte to a pipe; a socket notifier on the event loop reads it.
//
// Thread contract: user interface thread; one object at a time. The handlers are restored to the
// default when the object goes.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace kvt {

class CTerminationSignals : public QObject {
public:
    explicit CTerminationSignals(std::function<void()> onSignal);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

private:
    void Drain();

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace kvt
