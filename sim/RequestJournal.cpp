#include "sim/RequestJournal.h"

#include <cstring>
#include <string>

#include "quorex/Errors.h"

namespace quorex::sim {

CRequestJournal::CRequestJournal(const CFlowFilePaths& files) : m_files(files) {
    try {
        m_flow.Open(files.idFile.c_str(), files.contentFile.c_str(), true);
    } catch (const CRuntimeError& error) {
        throw CDayFileError(files.contentFile + ": " + error.GetMessage());
    }
    m_record.reserve(kEntryHeaderLength + kMaxPayloadLength);
}

void CRequestJournal::Replay(const std::function<void(std::uint32_t number, const CJournalEntry&)>& apply) {
    std::vector<std::uint8_t> record(CDayFiles::kMaxRecordLength);
    CXTPPackage request;
    std::uint64_t offset = 0;
    for (std::uint32_t n = 0; n < m_flow.Count(); ++n) {
        std::uint32_t length = 0;
        try {
            length = m_flow.Read(static_cast<std::uint32_t>(offset), record);
        } catch (const CRuntimeError& error) {
            throw CDayFileError(FileName() + ": request " + std::to_string(n) + ": " + error.GetMessage());
        }
        offset += CFlow::kRecordHeaderLength + length;
        const auto damaged = [&]() { return CDayFileError(FileName() + ": request " + std::to_string(n) + " is damaged"); };
        if (length < kEntryHeaderLength + XTPHLEN) throw damaged();
        CJournalEntry entry;
        entry.role = record[0] == 'T' ? Role::kTrader : record[0] == 'M' ? Role::kMonitor : Role::kNone;
        std::memcpy(entry.time, record.data() + 1, 8);
        std::memcpy(&entry.user, record.data() + 12, 4);
        request.Assign(record.data() + kEntryHeaderLength, length - kEntryHeaderLength);
        if (entry.role == Role::kNone || request.Parse() < 0) throw damaged();
        entry.request = &request;
        apply(n, entry);
    }
}

void CRequestJournal::Append(Role role, int user, const char (&time)[9], const CXTPPackage& request) {
    m_record.assign(kEntryHeaderLength, 0);
    m_record[0] = role == Role::kTrader ? 'T' : 'M';
    std::memcpy(m_record.data() + 1, time, 8);
    const auto index = static_cast<std::uint32_t>(user);
    std::memcpy(m_record.data() + 12, &index, 4);
    m_record.insert(m_record.end(), request.Address(), request.Address() + request.Length());
    try {
        m_flow.Append(m_record, 0);
    } catch (const CRuntimeError& error) {
        StopOnLostWrite(FileName(), error.GetMessage());
    }
}

}  // namespace quorex::sim
