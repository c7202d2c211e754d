// The library's diagnostics into KvtTrade.log (see the header for the file's rules).
#include "client/shell/DiagnosticsLog.h"

#include <filesystem>
#include <string_view>
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

// Strict UTF-8: well-formed sequences of two to four bytes, no overlong forms, no surrogates.
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        unsigned min = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, min = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, min = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, min = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        unsigned code = lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

}  // namespace

CDiagnosticsLog::CDiagnosticsLog(const std::string& directory, NowFunction now)
    : m_path(LogPath(directory)), m_now(std::move(now)) {
    RotateWhenLarge(m_path);
    m_file = std::fopen(m_path.c_str(), "a");
    quorex::SetLogSink(&Receive, this);
}

CDiagnosticsLog::~CDiagnosticsLog() {
    // Waits until no message is inside Receive; later ones are dropped.
    quorex::SetLogSink(quorex::DiscardLog, nullptr);
    if (m_file != nullptr) std::fclose(m_file);
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
    const std::string_view message(text);
    for (char c : IsUtf8(message) ? std::string(message) : quorex::GbkToUtf8(message)) {
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
