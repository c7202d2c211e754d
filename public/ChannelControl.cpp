#include "public/ChannelControl.h"

#include <cassert>
#include <cstring>

#include "public/ErrorTexts.h"
#include "public/FrameProtocol.h"
#include "public/XTPPackageHandler.h"
#include "public/XTPProtocol.h"

namespace quorex {

CChannelProtocol::CChannelProtocol(CReactor& reactor, CChannel& channel) : CProtocol(reactor, 0), m_channel(channel) {
    m_receiveBuffer.Allocate(kReceiveBufferSize);
    m_receiveBuffer.SetWindow(0, 0);
}

int CChannelProtocol::GetSocket() const { return m_channel.IsConnected() ? m_channel.GetId() : -1; }

void CChannelProtocol::GetSocketsToWatch(int& readSocket, int& writeSocket) const {
    const int socket = GetSocket();
    readSocket = m_streamBroken ? -1 : socket;
    writeSocket = m_writeQueue.IsEmpty() ? -1 : socket;
}

void CChannelProtocol::OnReadable() {
    if (m_streamBroken || !m_channel.IsConnected()) return;
    // Move the unconsumed tail to the front of the block, then read into all the room after it.
    // No layer holds a view of the block between two reads.
    assert(!m_receiveBuffer.IsBlockShared());
    const std::uint8_t* pending = m_receiveBuffer.Address();
    const std::size_t kept = m_receiveBuffer.Length();
    m_receiveBuffer.SetWindow(0, kept);
    if (kept > 0 && pending != m_receiveBuffer.Address()) std::memmove(m_receiveBuffer.Address(), pending, kept);

    char* room = reinterpret_cast<char*>(m_receiveBuffer.Address() + kept);
    const int count = m_channel.Read(static_cast<int>(kReceiveBufferSize - kept), room);
    if (count < 0) {
        m_streamBroken = true;
        PostToSink(kEventReadFailed);
        return;
    }
    if (count == 0) return;
    m_receiveBuffer.SetWindow(0, kept + static_cast<std::size_t>(count));

    // The frame layer is the only upper; without one the bytes have nowhere to go.
    CProtocol* frameLayer = GetUpper(CXTPControl::kFrameLayerId);
    const int consumed = frameLayer != nullptr ? frameLayer->OnReceive(m_receiveBuffer)
                                               : static_cast<int>(m_receiveBuffer.Length());
    if (consumed < 0) {
        // A layer above has reported the broken stream; nothing more is read from it.
        m_streamBroken = true;
        return;
    }
    m_receiveBuffer.Pop(static_cast<std::size_t>(consumed));
}

void CChannelProtocol::OnWritable() {
    // More than one write's worth goes out as a burst: the channel sends full segments instead of
    // one per write, which on a busy connection costs more than the writes themselves.
    const bool burst = m_writeQueue.Size() > kMaxWriteBytes;
    if (burst) m_channel.BeginBurst();
    WriteQueued();
    if (burst && m_channel.IsConnected()) m_channel.EndBurst();
}

void CChannelProtocol::WriteQueued() {
    while (m_channel.IsConnected()) {
        const std::span<const std::uint8_t> chunk = m_writeQueue.Front(kMaxWriteBytes);
        if (chunk.empty()) return;
        const auto* bytes = reinterpret_cast<const char*>(chunk.data());
        const int written = m_channel.Write(static_cast<int>(chunk.size()), bytes);
        if (written < 0) {
            m_channel.Disconnect();
            PostToSink(kEventWriteFailed);
            return;
        }
        m_writeQueue.Consume(static_cast<std::size_t>(written));
        if (static_cast<std::size_t>(written) < chunk.size()) return;  // the socket is full for now
    }
}

int CChannelProtocol::Send(CPackage& package) {
    if (!m_channel.IsConnected() || !m_writeQueue.Append({package.Address(), package.Length()})) return -1;
    return static_cast<int>(package.Length());
}

CXTPControl::CXTPControl(CReactor& reactor, std::unique_ptr<CChannel> channel)
    : CProtocol(reactor, 0), m_channel(std::move(channel)) {
    if (m_channel == nullptr) throw CDesignError(kControlNullChannel, kModuleChannelControl, __LINE__);
    m_channelProtocol = std::make_unique<CChannelProtocol>(reactor, *m_channel);
    m_channelProtocol->SetEventSink(this);
    m_frame = static_cast<CFrameProtocol*>(
        m_channelProtocol->AddUpper(std::make_unique<CFrameProtocol>(reactor), kFrameLayerId));
    m_xtp = static_cast<CXTPProtocol*>(m_frame->AddUpper(std::make_unique<CXTPProtocol>(reactor), kXTPLayerId));
}

CXTPControl::~CXTPControl() = default;

CXTPPackageHandler* CXTPControl::AddHandler(std::unique_ptr<CXTPPackageHandler> handler) {
    return m_xtp != nullptr ? m_xtp->AddHandler(std::move(handler)) : nullptr;
}

void CXTPControl::OnAttach() {
    if (m_frame != nullptr) m_frame->StartHeartbeat();
}

void CXTPControl::GetSocketsToWatch(int& readSocket, int& writeSocket) {
    assert(GetReactor().OwnsReactorWork());
    if (EndWithKeptEvent() || m_channelProtocol == nullptr) return;
    m_channelProtocol->GetSocketsToWatch(readSocket, writeSocket);
    if (writeSocket < 0 && m_channelProtocol->Poll()) writeSocket = m_channelProtocol->GetSocket();
}

void CXTPControl::OnReadable() {
    assert(GetReactor().OwnsReactorWork());
    if (m_channelProtocol != nullptr) m_channelProtocol->OnReadable();
}

void CXTPControl::OnWritable() {
    assert(GetReactor().OwnsReactorWork());
    if (m_channelProtocol != nullptr) m_channelProtocol->OnWritable();
}

int CXTPControl::HandleEvent(int code, int param, void* data) {
    assert(GetReactor().OwnsReactorWork());
    switch (code) {
        case kEventShutdownDone:
            Destroy();
            return 0;
        case kEventReadFailed:
        case kEventWriteFailed:
        case kEventReceiveTimeout:
        case kEventHeartbeatFailed:
        case kEventFrameStreamBroken:
        case kEventPackageBroken:
            // A kept event was refused before this one was posted: it came first.
            End(m_keptEvent != 0 ? m_keptEvent : code);
            return 0;
        default:
            return CProtocol::HandleEvent(code, param, data);
    }
}

bool CXTPControl::Close(int code) {
    if (m_ended) return false;
    m_ended = true;
    if (m_channelProtocol != nullptr) m_channelProtocol->OnWritable();
    m_channel->Disconnect();
    OnDisconnect(code);
    return true;
}

void CXTPControl::Shutdown(int code) {
    assert(GetReactor().OwnsReactorWork());
    if (Close(code) && !GetReactor().PostEvent(this, kEventShutdownDone, 0, nullptr)) {
        KeepRefusedEvent(kEventShutdownDone);
    }
}

void CXTPControl::ShutdownNow(int code) {
    assert(GetReactor().OwnsReactorWork());
    Close(code);
    Destroy();
}

void CXTPControl::KeepRefusedEvent(int code) {
    if (m_keptEvent == 0 && code > kLastIgnoredEventCode) m_keptEvent = code;
}

bool CXTPControl::EndWithKeptEvent() {
    if (m_keptEvent == 0) return false;
    const int code = m_keptEvent;
    HandleEvent(code, 0, nullptr);
    m_keptEvent = 0;
    return true;
}

void CXTPControl::End(int code) {
    // After a shutdown the owner has been told already; only the destruction is left.
    if (!m_ended) {
        m_ended = true;
        m_channel->Disconnect();
        OnDisconnect(code);
    }
    Destroy();
}

void CXTPControl::Destroy() {
    if (m_channelProtocol == nullptr) return;
    m_frame = nullptr;
    m_xtp = nullptr;
    // The layers cancel their timers and drop their queued events as they go.
    m_channelProtocol.reset();
    GetReactor().RemoveEvents(this);
    // The reactor frees the session at its next compaction, after this call has returned.
    GetReactor().RemoveSession(this);
}

}  // namespace quorex
