#include "api/ReceivedLog.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

#include "api/ApiTexts.h"
#include "api/UserFiles.h"
#include "public/ErrorReport.h"
#include "public/FlowRecordReader.h"
#include "public/WireBytes.h"
#include "quorex/Errors.h"

namespace quorex {
namespace {

constexpr std::uint8_t kLogSeries = 1;
constexpr std::size_t kOriginLength = 8;
constexpr std::uint32_t kMaxRecordLength = kMaxPayloadLength + kOriginLength;

}  // namespace

TLoggedPackage SplitLoggedRecord(std::span<const std::uint8_t> record) {
    TLoggedPackage stored{record};
    if (record.size() < XTPHLEN + kOriginLength) return stored;
    const std::size_t packageLength = XTPHLEN + wire::LoadU16(record.data() + 2);
    if (record.size() != packageLength + kOriginLength) return stored;
    const std::uint8_t* origin = record.data() + packageLength;
    if (origin[0] != 'Q' || origin[1] != 'X' || origin[3] != 0) return stored;
    stored.package = record.first(packageLength);
    stored.series = origin[2];
    stored.sequenceNo = wire::LoadU32(origin + 4);
    return stored;
}

std::string CReceivedLog::IdFileName(const char* userId) { return UserFileName(kReceivedLogIdPattern, userId); }
std::string CReceivedLog::ContentFileName(const char* userId) { return UserFileName(kReceivedLogContentPattern, userId); }

TReceivedLogState CReceivedLog::Inspect(const char* userId) {
    TReceivedLogState state;
    state.files = CheckFlowFiles(IdFileName(userId), ContentFileName(userId), kMaxRecordLength);
    if (state.files.Damaged()) return state;
    CFlowRecordReader reader(ContentFileName(userId));
    CXTPPackage package;
    for (std::uint32_t number = 1; number <= state.files.records; ++number) {
        if (reader.Next(true, kMaxRecordLength) != CFlowRecordReader::EStep::kRecord) {
            state.brokenRecord = number;
            break;
        }
        const TLoggedPackage stored = SplitLoggedRecord(reader.Data());
        package.Assign(stored.package.data(), stored.package.size());
        if (package.Parse() < 0) {
            state.brokenRecord = number;
            break;
        }
        if (stored.series >= 2 && stored.series < state.lastSequenceNo.size()) {
            state.lastSequenceNo[stored.series] = stored.sequenceNo;
        } else {
            state.withOrigins = false;
        }
    }
    return state;
}

std::string CReceivedLog::DescribeDamage(const char* userId, const TReceivedLogState& state) {
    const std::string content = ContentFileName(userId);
    const std::string id = IdFileName(userId);
    std::string what;
    using EDamage = TFlowCheck::EDamage;
    switch (state.files.damage) {
        case EDamage::kUnreadable:
            what = content + " or " + id + ": cannot be read: " + std::strerror(state.files.osError);
            break;
        case EDamage::kContentMissing:
            what = content + ": missing, though " + id + " indexes records";
            break;
        case EDamage::kRecordTooLong:
            what = content + ": record " + std::to_string(state.files.record + 1) + " claims " +
                   std::to_string(state.files.length) + " bytes";
            break;
        case EDamage::kIdEntryWrong:
            what = id + ": entry " + std::to_string(state.files.record) + " does not index " + content;
            break;
        case EDamage::kIdEntriesMissing:
            what = id + ": lacks " + std::to_string(state.files.record) + " entries of " + content;
            break;
        case EDamage::kNone:
            what = content + ": record " + std::to_string(state.brokenRecord) + " is not a whole package";
            break;
    }
    return what + "; remove " + id + ", " + content + " and the user's sync files (" +
           UserFileName("t_private%s.dat", userId) + " and the like) to receive the day again from the exchange";
}

void CReceivedLog::Open(const char* userId, bool keep) {
    m_flow.reset();
    const std::string idFile = IdFileName(userId);
    const std::string contentFile = ContentFileName(userId);
    if (keep) {
        const TReceivedLogState state = Inspect(userId);
        if (!state.Usable()) {
            Log(LogLevel::kError, "%s\n", DescribeDamage(userId, state).c_str());
            throw CRuntimeError(kReceivedLogDamaged, kModuleApi, __LINE__);
        }
        if (state.files.NeedsRepair()) {
            if (!RepairFlowFiles(idFile, contentFile, state.files)) {
                Log(LogLevel::kError, "%s: cannot be repaired: %s\n", contentFile.c_str(), std::strerror(errno));
                throw CRuntimeError(kReceivedLogDamaged, kModuleApi, __LINE__);
            }
            if (state.files.TornBytes() != 0) {
                Log(LogLevel::kDiagnostic, "%s: cut a torn last record (%" PRIu64 " bytes) left by an interrupted write\n",
                    contentFile.c_str(), state.files.TornBytes());
            } else {
                Log(LogLevel::kDiagnostic, "%s: completed its last entry, which an interrupted write left out\n", idFile.c_str());
            }
        }
    }
    m_flow = std::make_unique<CFlow>(idFile.c_str(), contentFile.c_str(), keep);
    if (m_record.empty()) m_record.resize(kMaxRecordLength);
}

void CReceivedLog::Append(const CXTPPackage& received) {
    if (m_flow == nullptr) return;
    const std::size_t contentLength = received.Length() - XTPHLEN;
    TXTPHeader header = received.m_XTPHeader;
    header.SequenceSeries = kLogSeries;
    header.SequenceNo = m_flow->Count() + 1;
    header.ContentLength = static_cast<std::uint16_t>(contentLength);
    std::uint8_t* at = m_record.data();
    EncodeXTPHeader(header, at);
    std::memcpy(at + XTPHLEN, received.Address() + XTPHLEN, contentLength);
    std::uint8_t* origin = at + XTPHLEN + contentLength;
    origin[0] = 'Q';
    origin[1] = 'X';
    origin[2] = received.m_XTPHeader.SequenceSeries;
    origin[3] = 0;
    wire::PutU32(origin + 4, received.m_XTPHeader.SequenceNo);
    m_flow->Append({at, XTPHLEN + contentLength + kOriginLength}, 0);
}

void CReceivedLog::ReadNext(std::uint32_t& offset, CXTPPackage& package) {
    std::uint8_t record[kMaxRecordLength];
    const std::uint32_t length = m_flow->Read(offset, record);
    offset += CFlow::kRecordHeaderLength + length;
    const TLoggedPackage stored = SplitLoggedRecord({record, length});
    package.Assign(stored.package.data(), stored.package.size());
    if (package.Parse() < 0) throw CDesignError(kIncompleteLoggedPackage, kModuleApi, __LINE__);
}

}  // namespace quorex
