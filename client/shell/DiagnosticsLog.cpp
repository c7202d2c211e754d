// The library's diagnostics into KvtTrade.log (see the header for the file's rules).
#include "client/shell/DiagnosticsLog.h"

#include <QByteArrayView>
#include <filesystem>
#include <system_error>

#include "quorex/Text.h"

namespace kvt {

namespace {

std::string LogPath(const std::string& directory) {
    return directory.empty() ? std::string(kDiagnosticsLogFile) : directory + '/' + kDiagnosticsLogFile;
}

// Keeps the previous runs' lines in one older file once the log has grown past its limit.
void RotateWhenLarge(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size <= kDiagnosticsLogLimit) return;
    std::filesystem::rename(path, path + ".1", error);
}

}  // namespace

CDiagnosticsLog::CDiagnosticsLog(const std::string& directory, NowFunction now)
    : m_path(LogPath(directory)), m_now(std::move(now)) {
    RotateWhenLarge(m_path);
    m_file = std::fopen(m_path.c_str(), "a+");
    EndTornLine();
    quorex::SetLogSink(&Receive, this);
}

CDiagnosticsLog::~CDiagnosticsLog() {
    // Waits until no message is inside Receive; later ones are dropped.
    quorex::SetLogSink(quorex::DiscardLog, nullptr);
    if (m_file != nullptr) std::fclose(m_file);
}

void CDiagnosticsLog::EndTornLine() {
    if (m_file == nullptr || std::fseek(m_file, -1, SEEK_END) != 0) return;  // empty: nothing torn
    const int last = std::fgetc(m_file);
    std::fseek(m_file, 0, SEEK_END);  // stdio asks for a seek between reading and writing
    if (last != '\n') std::fputc('\n', m_file);
    std::fflush(m_file);
}

void CDiagnosticsLog::Receive(quorex::LogLevel level, const char* text, void* context) {
    static_cast<CDiagnosticsLog*>(context)->Write(level, text);
}

void CDiagnosticsLog::Write(quorex::LogLevel level, const char* text) {
    const std::time_t now = m_now();
    std::tm local{};
    char stamp[32] = "";
    if (localtime_r(&now, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::string line = std::string(stamp) + (level == quorex::LogLevel::kError ? " error " : " diagnostic ");
    // The library's own words are UTF-8; other bytes it passes on are taken for GBK.
    const QByteArrayView message(text);
    const std::string utf8 = message.isValidUtf8() ? std::string(text) : quorex::GbkToUtf8(text);
    for (char c : utf8) {
        line += c;
        if (c == '\n') line += "  ";
    }
    line += '\n';
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_file == nullptr) return;
    std::fwrite(line.data(), 1, line.size(), m_file);
    std::fflush(m_file);
}

}  // namespace kvt
