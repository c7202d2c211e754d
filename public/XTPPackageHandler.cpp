#include "public/XTPPackageHandler.h"

#include <cassert>
#include <cstring>

#include "public/ErrorTexts.h"
#include "public/Reactor.h"

namespace quorex {

CXTPPackageHandler::CXTPPackageHandler(CReactor& reactor, std::uint8_t series) : CProtocol(reactor, XTPHLEN) {
    m_template.SequenceSeries = series;
    m_template.Chain = 'S';
}

int CXTPPackageHandler::SendPackage(CXTPPackage& package) {
    assert(GetReactor().OwnsReactorWork());
    const TXTPHeader header = ForwardedHeader(m_template, package);

    // The header goes into the package's headroom through a view, so the caller's window stays.
    m_sendView.ViewOf(package);
    std::uint8_t* wireHeader = m_sendView.Prepend(XTPHLEN);
    if (wireHeader == nullptr) {
        m_sendView.Release();
        throw CDesignError(kPackageBufferTooSmall, kModuleXTPPackageHandler, __LINE__);
    }
    EncodeXTPHeader(header, wireHeader);
    const int result = Send(m_sendView);
    m_sendView.Release();
    return result;
}

int CXTPPackageHandler::SendThroughReactor(CXTPPackage& package) {
    return GetReactor().SyncCall(this, kEventSendPackage, 0, &package);
}

int CXTPPackageHandler::HandleEvent(int code, int param, void* data) {
    if (code == kEventSendPackage && data != nullptr) return SendPackage(*static_cast<CXTPPackage*>(data));
    return CProtocol::HandleEvent(code, param, data);
}

void CXTPPackageHandler::OpenSyncFile(const char* path) {
    if (m_syncPoint == nullptr) m_syncPoint = std::make_unique<CSyncPoint>(GetSeries());
    m_syncPoint->OpenSyncFile(path);
}

bool CXTPPackageHandler::Poll() { return RunFlowPump(); }

bool CXTPPackageHandler::RunFlowPump() {
    assert(GetReactor().OwnsReactorWork());
    if (m_source == nullptr) return false;
    int sent = 0;
    while (sent < kMaxPumpedPackages) {
        CXTPPackage* package = m_source->NextPackage();
        if (package == nullptr) break;
        if (!FilterPackage(*package)) continue;
        SendPackage(*package);
        ++sent;
    }
    return sent > 0;
}

int CXTPPackageHandler::OnReceive(CPackage& unit) {
    assert(GetReactor().OwnsReactorWork());
    const int length = static_cast<int>(unit.Length());
    // Only the XTP layer registers handlers, and it hands up its parsed package.
    auto* package = dynamic_cast<CXTPPackage*>(&unit);
    if (package == nullptr) return length;
    const TXTPHeader& header = package->m_XTPHeader;
    if (m_syncPoint != nullptr && !m_syncPoint->Accept(header)) return length;
    // What the user makes of a package does not break the stream: the package is consumed either
    // way, and only a delivery of 0 or more moves the sync point.
    if (DeliverToUser(*package) >= 0 && m_syncPoint != nullptr) m_syncPoint->Advance(header);
    return length;
}

}  // namespace quorex
