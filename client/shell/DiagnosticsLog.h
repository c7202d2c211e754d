// KvtTrade's log of the library's diagnostics. The library prints lines of its own ("日期变更，修改
// 接收断点! pr=0", "ChannelLost  ErrorCode=4097", its threads' error reports, ...) on standard
// output by default; a desktop program keeps the terminal for its own errors, so while this object
// lives every such line goes to kDiagnosticsLogFile in the working directory instead, one line a
// message: "2026-12-09 11:45:00 error ChannelLost  ErrorCode=4097", in UTF-8 (a message that is not
// UTF-8 carries bytes of a GBK text and is converted from GBK), the continuation lines of an error
// report indented by two spaces.
//
// The file is opened for appending, so a kill at any byte costs at most the line being written
// (the next start ends such a torn line before it appends), and every line is flushed as it is
// written. A file grown beyond kDiagnosticsLogLimit is renamed
// to "KvtTrade.log.1" (replacing an older one) at the start, so two runs' worth are kept at most.
// When the file cannot be opened (a read-only directory), or a write fails (a full disk), the
// messages are dropped: the log never stops the program.
//
// Construct it before any API object and destroy it after the last: on destruction the library is
// silenced rather than sent back to standard output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>

#include "quorex/Log.h"

namespace kvt {

inline constexpr const char* kDiagnosticsLogFile = "KvtTrade.log";
inline constexpr std::uintmax_t kDiagnosticsLogLimit = 8u << 20;

class CDiagnosticsLog {
public:
    using NowFunction = std::function<std::time_t()>;

    // directory: where the file goes ("" for the working directory).
    explicit CDiagnosticsLog(const std::string& directory = std::string(), NowFunction now = &CurrentTime);
    ~CDiagnosticsLog();
    CDiagnosticsLog(const CDiagnosticsLog&) = delete;
    CDiagnosticsLog& operator=(const CDiagnosticsLog&) = delete;

    // False when the file could not be opened; the messages are then dropped.
    bool IsOpen() const { return m_file != nullptr; }
    const std::string& Path() const { return m_path; }

    // One message as the library hands it over; called on the library's threads.
    void Write(quorex::LogLevel level, const char* text);

private:
    // A line a kill cut short in an earlier run gets its line break, so the next line starts
    // on a line of its own.
    void EndTornLine();
    static void Receive(quorex::LogLevel level, const char* text, void* context);
    static std::time_t CurrentTime() { return std::time(nullptr); }

    const std::string m_path;
    const NowFunction m_now;
    std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};

}  // namespace kvt
