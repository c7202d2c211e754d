#include "sim/RequestJournal.h"

#include <string>

#include "sim/FlowRecords.h"
#include "sim/JournalEntry.h"

namespace quorex::sim {

void ReplayJournal(const std::string& contentFile, std::uint64_t end,
                   const std::function<void(std::uint32_t number, const CJournalEntry&)>& apply) {
    CFlowRecords records(contentFile, end, CDayFiles::kMaxRecordLength);
    CXTPPackage request;
    while (records.Next()) {
        const auto damaged = [&](const std::string& why) {
            return CDayFileError(contentFile + ": request " + std::to_string(records.Number()) + " (at byte " +
                                 std::to_string(records.Offset()) + ") is damaged: " + why + "; " + std::string(kDamagedDayRemedy));
        };
        journal::CEntry decoded;
        const std::string fault = journal::DecodeEntry(records.Data(), decoded);
        if (!fault.empty()) throw damaged(fault);
        request.Assign(decoded.request.data(), decoded.request.size());
        if (request.Parse() < 0) throw damaged("its request package does not parse");
        CJournalEntry entry;
        entry.role = decoded.role == journal::kRoleTrader ? Role::kTrader : Role::kMonitor;
        entry.user = decoded.user;
        std::memcpy(entry.time, decoded.time, sizeof entry.time);
        entry.hasDigest = decoded.hasDigest;
        entry.request = &request;
        apply(records.Number(), entry);
    }
}

CRequestJournal::CRequestJournal(const CFlowFilePaths& files, std::uint32_t entries, std::uint64_t contentBytes,
                                 CHeldWrites& held)
    : m_appender(files, entries, contentBytes, held, true) {
    m_record.reserve(journal::kMaxEntryLength);
}

void CRequestJournal::Append(Role role, int user, const char (&time)[9], const CXTPPackage& request) {
    journal::EncodeEntry(m_record, role == Role::kTrader ? journal::kRoleTrader : journal::kRoleMonitor, time,
                         static_cast<std::uint32_t>(user), {request.Address(), request.Length()});
    m_appender.Hold(m_record);
}

}  // namespace quorex::sim
