#include "public/XTPFlow.h"

#include <array>
#include <cstring>

#include "public/ErrorTexts.h"

namespace quorex {
namespace {

// Drops the flow's view of a caller's package however the append ends.
class CViewRelease {
public:
    explicit CViewRelease(CPackage& view) : m_view(view) {}
    CViewRelease(const CViewRelease&) = delete;
    CViewRelease& operator=(const CViewRelease&) = delete;
    ~CViewRelease() { m_view.Release(); }

private:
    CPackage& m_view;
};

}  // namespace

CXTPFlow::CXTPFlow(const char* idFileName, const char* contentFileName, bool reuse, std::uint8_t series)
    : m_series(series) {
    Open(idFileName, contentFileName, reuse);
}

void CXTPFlow::OnOpened() {
    m_template = TXTPHeader{};
    m_template.SequenceSeries = m_series;
    m_template.Chain = 'S';
    if (Count() == 0) return;

    std::array<std::uint8_t, kMaxPayloadLength> last;
    const std::uint32_t length = Read(Locate(Count() - 1), last);
    // A stored package always has its whole header; anything shorter is not this flow's record.
    if (length < XTPHLEN) throw CRuntimeError(kFlowInvalidIdFile, kModuleXTPFlow, __LINE__);
    TXTPHeader stored{};
    RecordTraits<TXTPHeader>::Decode(stored, last.data());
    m_template.Chain = stored.Chain;
    m_template.SequenceNo = stored.SequenceNo;
}

void CXTPFlow::Append(const CXTPPackage& package, std::uint32_t time) {
    // The stored package must come back through a 4096-byte read and its 16-bit ContentLength.
    if (package.Length() > kMaxPayloadLength - XTPHLEN) {
        throw CDesignError(kPackageBufferTooSmall, kModuleXTPFlow, __LINE__);
    }
    TXTPHeader header = ForwardedHeader(m_template, package);
    header.SequenceNo = m_template.SequenceNo + 1;

    m_view.ViewOf(package);
    const CViewRelease release(m_view);
    if (!m_view.PrependHeader(header)) throw CDesignError(kPackageBufferTooSmall, kModuleXTPFlow, __LINE__);
    CFlow::Append({m_view.Address(), m_view.Length()}, time);
    // The number is used only once the package is stored, so a failed append leaves no gap.
    m_template = header;
}

}  // namespace quorex
