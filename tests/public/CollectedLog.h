// A log sink for tests: keeps what the library reported, from any thread.
#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "quorex/Log.h"

namespace quorex::test {

class CCollectedLog {
public:
    // Pass as SetLogSink(&CCollectedLog::Sink, &log).
    static void Sink(LogLevel level, const char* text, void* context) {
        auto* log = static_cast<CCollectedLog*>(context);
        std::lock_guard lock(log->m_mutex);
        log->m_messages.emplace_back(level, text);
    }
    std::vector<std::pair<LogLevel, std::string>> Messages() {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<LogLevel, std::string>> m_messages;
};

}  // namespace quorex::test
