// CQtTimers: one QTimer per pending task, removed when it fires or is cancelled.
#include "client/shell/ui/QtTimers.h"

#include <QTimer>
#include <thread>

namespace kvt {

CQtTimers::CQtTimers() = default;
CQtTimers::~CQtTimers() = default;

CTimers::TimerId CQtTimers::After(std::chrono::milliseconds delay, Task task) {
    const TimerId id = ++m_lastId;
    auto* timer = new QTimer(&m_owner);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [this, id, timer, task = std::move(task)] {
        m_timers.erase(id);
        timer->deleteLater();
        task();
    });
    m_timers.emplace(id, timer);
    timer->start(delay);
    return id;
}

void CQtTimers::Cancel(TimerId id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) return;
    found->second->stop();
    found->second->deleteLater();
    m_timers.erase(found);
}

void CQtTimers::Pause(std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }

}  // namespace kvt
