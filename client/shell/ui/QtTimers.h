// CQtTimers: single-shot timers on the Qt event loop of the user interface thread.
//
// Thread contract: user interface thread only. Ownership: owns its timers; the ones still
// pending go with it, unrun.
#pragma once

#include <QObject>
#include <unordered_map>

#include "client/shell/Timers.h"

class QTimer;

namespace kvt {

class CQtTimers final : public CTimers {
public:
    CQtTimers();
    ~CQtTimers() override;

    TimerId After(std::chrono::milliseconds delay, Task task) override;
    void Cancel(TimerId id) override;
    void Pause(std::chrono::milliseconds pause) override;

private:
    QObject m_owner;  // parent of every timer
    std::unordered_map<TimerId, QTimer*> m_timers;
    TimerId m_lastId = 0;
};

}  // namespace kvt
