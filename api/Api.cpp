// CApi: construction, start-up, the server list and the trade date.
#include <cstring>

#include "api/ApiState.h"
#include "public/ErrorReport.h"

CApi::CApi() : m_pState(new quorex::CApiState(*this)), m_Services{}, m_nServerCount(0) {}

CApi::~CApi() {
    stopApi();
    delete m_pState;
    m_pState = nullptr;
}

void CApi::stopApi() { m_pState->Stop(); }

int CApi::initApi() {
    try {
        if (m_pState->reactor != nullptr) return 0;
        auto reactor = std::make_unique<quorex::CReactor>();
        if (!reactor->Start()) return -1;
        m_pState->reactor = std::move(reactor);
        return 0;
    } catch (const CDesignError& error) {
        quorex::ReportError(error);
    } catch (const CRuntimeError& error) {
        quorex::ReportError(error);
    }
    return -1;
}

void CApi::SetService(const char* host, int port) {
    if (m_nServerCount < 0 || m_nServerCount >= kMaxServers) return;
    TServiceAddress& service = m_Services[m_nServerCount++];
    std::memset(service.host, 0, sizeof service.host);
    if (host != nullptr) std::strncpy(service.host, host, kMaxHostLength);
    service.port = port;
}

void CApi::SetCallbackBatchEnd(CallbackBatchEnd end, void* context) {
    m_pState->batchEnd = end;
    m_pState->batchEndContext = context;
}

void CApi::GetTradeDate(char* out) {
    if (out != nullptr) std::strcpy(out, m_pState->clock.TradeDate().c_str());
}
