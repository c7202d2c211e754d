#include "public/Clock.h"

#include <chrono>

namespace quorex {

std::int64_t CSteadyClock::NowMilliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

CSteadyClock& CSteadyClock::Instance() {
    static CSteadyClock clock;
    return clock;
}

}  // namespace quorex
