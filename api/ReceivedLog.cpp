#include "api/ReceivedLog.h"

#include <cstring>

#include "api/ApiTexts.h"
#include "api/UserFiles.h"
#include "quorex/Errors.h"

namespace quorex {
namespace {

constexpr std::uint8_t kLogSeries = 1;

}  // namespace

void CReceivedLog::Open(const char* userId, bool keep) {
    m_flow.reset();
    const std::string idFile = UserFileName(kReceivedLogIdPattern, userId);
    const std::string contentFile = UserFileName(kReceivedLogContentPattern, userId);
    m_flow = std::make_unique<CXTPFlow>(idFile.c_str(), contentFile.c_str(), keep, kLogSeries);
}

void CReceivedLog::Append(const CXTPPackage& received) {
    if (m_flow == nullptr) return;
    if (!m_stored.HasBlock()) m_stored.Allocate(kSendPackageCapacity);
    const std::size_t contentLength = received.Length() - XTPHLEN;
    m_stored.ResetToEnd();
    std::memcpy(m_stored.Prepend(contentLength), received.Address() + XTPHLEN, contentLength);
    m_stored.m_XTPHeader = received.m_XTPHeader;
    m_flow->Append(m_stored, 0);
}

void CReceivedLog::ReadNext(std::uint32_t& offset, CXTPPackage& package) {
    std::uint8_t record[kMaxPayloadLength];
    const std::uint32_t length = m_flow->Read(offset, record);
    offset += CFlow::kRecordHeaderLength + length;
    package.Assign(record, length);
    if (package.Parse() < 0) throw CDesignError(kIncompleteLoggedPackage, kModuleApi, __LINE__);
}

}  // namespace quorex
