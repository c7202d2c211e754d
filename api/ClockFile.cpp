#include "api/ClockFile.h"

#include <cstring>

namespace quorex {

CClockFile::~CClockFile() {
    if (m_file != nullptr) std::fclose(m_file);
}

std::string CClockFile::TradeDate() const {
    std::lock_guard lock(m_mutex);
    return std::string(m_record, strnlen(m_record, kDateLength));
}

void CClockFile::Open(const std::string& path) {
    if (m_file != nullptr) std::fclose(m_file);
    std::lock_guard lock(m_mutex);
    std::memset(m_record, 0, sizeof m_record);
    m_file = std::fopen(path.c_str(), "r+b");
    if (m_file != nullptr) {
        if (std::fread(m_record, 1, sizeof m_record, m_file) < kDateLength) std::memset(m_record, 0, sizeof m_record);
        m_record[kDateLength] = '\0';
        return;
    }
    m_file = std::fopen(path.c_str(), "w+b");
    if (m_file == nullptr) return;
    std::fwrite(m_record, 1, sizeof m_record, m_file);
    std::fflush(m_file);
}

void CClockFile::SetTradeDate(const char* date) {
    std::lock_guard lock(m_mutex);
    std::memset(m_record, 0, sizeof m_record);
    std::strncpy(m_record, date, kDateLength);
    if (m_file == nullptr) return;
    std::fseek(m_file, 0, SEEK_SET);
    std::fwrite(m_record, 1, sizeof m_record, m_file);
    std::fflush(m_file);
}

}  // namespace quorex
