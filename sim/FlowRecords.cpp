#include "sim/FlowRecords.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "public/Flow.h"
#include "sim/DayFiles.h"

namespace quorex::sim {

CFlowRecords::CFlowRecords(std::string contentFile, std::uint64_t end, std::uint32_t maxRecordLength)
    : m_path(std::move(contentFile)), m_end(end), m_maxRecordLength(maxRecordLength) {
    if (m_end == 0) return;
    m_file = std::fopen(m_path.c_str(), "rb");
    if (m_file == nullptr) throw CDayFileError(m_path + ": cannot be read: " + std::strerror(errno));
    m_data.reserve(maxRecordLength);
}

CFlowRecords::~CFlowRecords() {
    if (m_file != nullptr) std::fclose(m_file);
}

bool CFlowRecords::Next() {
    if (m_next >= m_end) return false;
    const auto changed = [&]() {
        return CDayFileError(m_path + ": changed while the start read it (record " + std::to_string(m_number) +
                             "); stop whatever else writes the day's folder and start again");
    };
    // A short read is a file that shrank, unless the read itself failed.
    const auto failed = [&]() {
        return std::ferror(m_file) ? CDayFileError(m_path + ": cannot be read: " + std::strerror(errno)) : changed();
    };
    std::uint32_t header[2];
    if (std::fread(header, sizeof header, 1, m_file) != 1) throw failed();
    if (header[0] > m_maxRecordLength || m_next + CFlow::kRecordHeaderLength + header[0] > m_end) throw changed();
    m_data.resize(header[0]);
    if (header[0] != 0 && std::fread(m_data.data(), header[0], 1, m_file) != 1) throw failed();
    m_offset = m_next;
    m_next += CFlow::kRecordHeaderLength + header[0];
    ++m_number;
    return true;
}

}  // namespace quorex::sim
