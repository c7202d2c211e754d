#include "sim/MillisecondTimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "quorex/Errors.h"

namespace quorex::sim {
namespace {

constexpr const char* kModuleTimer = "sim/MillisecondTimer";
constexpr const char* kNoTimer = "Can not create a timer";

timespec ToTimespec(int milliseconds) {
    return timespec{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
}

}  // namespace

CMillisecondTimer::CMillisecondTimer(std::function<void()> onFire)
    : m_fd(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)), m_onFire(std::move(onFire)) {
    if (m_fd < 0) throw CRuntimeError(kNoTimer, kModuleTimer, __LINE__);
}

CMillisecondTimer::~CMillisecondTimer() { ::close(m_fd); }

void CMillisecondTimer::Arm(int delayMs, int periodMs) {
    itimerspec timing{};
    timing.it_value = ToTimespec(std::max(delayMs, 1));
    timing.it_interval = ToTimespec(std::max(periodMs, 0));
    ::timerfd_settime(m_fd, 0, &timing, nullptr);
}

void CMillisecondTimer::Disarm() {
    const itimerspec none{};
    ::timerfd_settime(m_fd, 0, &none, nullptr);
}

void CMillisecondTimer::GetSocketsToWatch(int& readSocket, int& writeSocket) {
    readSocket = m_fd;
    writeSocket = -1;
}

void CMillisecondTimer::OnReadable() {
    std::uint64_t expirations = 0;
    if (::read(m_fd, &expirations, sizeof expirations) == sizeof expirations && expirations > 0) m_onFire();
}

}  // namespace quorex::sim
