#include "public/Protocol.h"

#include "public/Reactor.h"

namespace quorex {

const char* EndCodeText(int code) {
    for (const TEndCodeText& entry : kEndCodeTexts) {
        if (entry.code == code) return entry.text;
    }
    return "unknown end";
}

CProtocol::CProtocol(CReactor& reactor, std::size_t headerSize)
    : m_reactor(reactor), m_headerSize(headerSize), m_headerReserve(headerSize) {}

CProtocol::~CProtocol() {
    // Uppers first, newest first: they may still refer to this layer while they go.
    while (m_upperCount > 0) m_uppers[--m_upperCount].layer.reset();
    if (m_hasTimers) m_reactor.RemoveTimers(this);
    m_reactor.RemoveEvents(this);
}

CProtocol* CProtocol::AddUpper(std::unique_ptr<CProtocol> upper, int id) {
    if (upper == nullptr || m_upperCount == kMaxUppers || GetUpper(id) != nullptr) return nullptr;
    upper->m_lower = this;
    upper->m_id = id;
    upper->m_headerReserve = upper->m_headerSize + m_headerReserve;
    upper->m_eventSink = m_eventSink;
    m_uppers[m_upperCount] = Upper{id, std::move(upper)};
    return m_uppers[m_upperCount++].layer.get();
}

CProtocol* CProtocol::GetUpper(int id) const {
    for (int i = 0; i < m_upperCount; ++i) {
        if (m_uppers[i].id == id) return m_uppers[i].layer.get();
    }
    return nullptr;
}

int CProtocol::HandleEvent(int, int, void*) { return 0; }

void CProtocol::OnTimer(int) {}

int CProtocol::Control(int code, const void* data) { return m_lower != nullptr ? m_lower->Control(code, data) : -1; }

bool CProtocol::Poll() {
    bool active = false;
    for (int i = 0; i < m_upperCount; ++i) {
        if (m_uppers[i].layer->Poll()) active = true;
    }
    return active;
}

int CProtocol::OnReceive(CPackage& bytes) {
    CPackage* unit = ReceiveUnit();
    const std::size_t available = bytes.Length();
    if (unit == nullptr) return static_cast<int>(available);
    std::size_t consumed = 0;
    int result = 0;
    while (consumed < available) {
        unit->ViewOf(bytes);
        unit->Pop(consumed);
        const int length = CutUnit();
        if (length == 0) break;
        if (length < 0) {
            OnStreamError();
            result = -1;
            break;
        }
        if (Deliver(*unit) < 0) {
            result = -1;
            break;
        }
        consumed += static_cast<std::size_t>(length);
    }
    unit->Release();
    return result < 0 ? result : static_cast<int>(consumed);
}

int CProtocol::Deliver(CPackage& unit) {
    CProtocol* upper = GetUpper(DemuxKey());
    if (upper == nullptr) return OnUnknownUpper(unit);
    if (!Accept(unit)) return 0;
    return upper->OnReceive(unit) < 0 ? -1 : 0;
}

int CProtocol::Send(CPackage& package) { return m_lower != nullptr ? m_lower->Send(package) : -1; }

void CProtocol::PostToSink(int code) {
    if (m_eventSink != nullptr && !m_reactor.PostEvent(m_eventSink, code, 0, nullptr)) m_eventSink->KeepRefusedEvent(code);
}

void CProtocol::SetTimer(int id, int seconds) {
    m_hasTimers = true;
    m_reactor.AddTimer(this, id, seconds);
}

}  // namespace quorex
