// The bottom of a connection: CChannelProtocol moves bytes between the channel and the frame
// layer, and CXTPControl, the session, owns the channel and the whole protocol stack built on it
// (channel protocol -> frame layer (ID 0) -> XTP layer (ID 1) -> XTP package handlers, one per
// series). The session is the event sink of its layers: a read or write failure, a receive
// time-out, a failed heartbeat or a broken frame or package stream closes the channel, tells the
// owner through OnDisconnect(code), and destroys the stack; there is no reconnection.
//
// Ownership: CXTPControl owns its channel and its stack; once added to a reactor the reactor owns
// the session. The channel protocol only uses the channel, which the session destroys after it.
// Thread contract: a session and its stack are built on any thread; once the session is added to
// the reactor, everything runs on the reactor thread (Shutdown too, or on the owner's thread after
// the reactor's loop has ended).
#pragma once

#include <cstddef>
#include <memory>

#include "public/Channel.h"
#include "public/ChannelWriteQueue.h"
#include "public/Frame.h"
#include "public/Protocol.h"
#include "public/Reactor.h"

namespace quorex {

class CFrameProtocol;
class CXTPPackageHandler;
class CXTPProtocol;

class CChannelProtocol final : public CProtocol {
public:
    // The receive buffer holds two of the longest frames a peer may send (header, 127-byte
    // extension, 4096-byte payload). It must hold at least one: an incomplete frame stays in the
    // buffer until its last byte arrives, so a buffer shorter than a valid frame would stop the
    // stream for good. The second one lets a read take the next frame behind an incomplete one.
    static constexpr std::size_t kReceiveBufferSize = 2 * kMaxWholeFrameLength;
    // The most bytes handed to one channel write.
    static constexpr std::size_t kMaxWriteBytes = 4096;

    CChannelProtocol(CReactor& reactor, CChannel& channel);

    // The channel's socket while it is connected, -1 otherwise.
    int GetSocket() const;
    // Read: the socket, unless the stream has broken. Write: the socket while bytes are queued.
    void GetSocketsToWatch(int& readSocket, int& writeSocket) const;
    // Reads what the channel has and hands the buffered bytes to the frame layer; an incomplete
    // frame stays for the next read. A failed read (or a peer that closed) reports event 0x1001.
    void OnReadable();
    // Writes queued bytes, at most 4096 per write, until the queue is empty or the channel takes
    // fewer than offered; more than one write's worth is bracketed as the channel's burst. A failed
    // write disconnects the channel and reports event 0x1002.
    void OnWritable();
    // Queues a whole frame: its length, or -1 when the channel is closed or the frame is larger
    // than a write-queue block.
    int Send(CPackage& package) override;
    std::size_t GetQueuedBytes() const { return m_writeQueue.Size(); }

private:
    void WriteQueued();

    CChannel& m_channel;
    CPackage m_receiveBuffer;  // the window is the received bytes not yet consumed
    CChannelWriteQueue m_writeQueue;
    bool m_streamBroken = false;
};

class CXTPControl : public CProtocol, public CReactorSession {
public:
    static constexpr int kFrameLayerId = 0;
    static constexpr int kXTPLayerId = 1;

    // Builds the stack over channel. CDesignError "CXTPControl can't use NULL channel" without one.
    CXTPControl(CReactor& reactor, std::unique_ptr<CChannel> channel);
    ~CXTPControl() override;

    // Registers a handler on the XTP layer under its series and takes ownership of it; the
    // handler, or nullptr (destroyed) when the series has one already or the stack is gone.
    CXTPPackageHandler* AddHandler(std::unique_ptr<CXTPPackageHandler> handler);
    CChannel* GetChannel() const { return m_channel.get(); }
    CChannelProtocol* GetChannelProtocol() const { return m_channelProtocol.get(); }

    // Ends the session when its owner goes away: writes what the socket takes of the queue,
    // disconnects the channel, calls OnDisconnect(code), then posts 0x1003 to itself so that the
    // reactor destroys the stack.
    void Shutdown(int code);
    // Shutdown, then destroys the stack at once instead of through the event queue. Only for a
    // caller on the reactor thread that is not inside one of the session's layers (the session's
    // own GetSocketsToWatch, say).
    void ShutdownNow(int code);

    int HandleEvent(int code, int param, void* data) override;

    void OnAttach() override;
    // The channel protocol's sockets; when nothing is queued for writing, the stack is polled
    // first (handlers send what user threads queued, then run their flow pumps), and the socket
    // is watched for writing too when any of them did something.
    void GetSocketsToWatch(int& readSocket, int& writeSocket) override;
    void OnReadable() override;
    void OnWritable() override;

protected:
    // The connection has ended with this event code (or the code given to Shutdown).
    virtual void OnDisconnect(int) {}
    // Acts on an event kept because the ring refused it: ends (or, after a shutdown, destroys) the
    // session. True when it did; the session must then not be used for this pass any more.
    bool EndWithKeptEvent();

private:
    void KeepRefusedEvent(int code) override;
    // Writes what the socket takes, disconnects and tells the owner; false when already ended.
    bool Close(int code);
    void End(int code);
    void Destroy();

    std::unique_ptr<CChannel> m_channel;
    std::unique_ptr<CChannelProtocol> m_channelProtocol;
    CFrameProtocol* m_frame = nullptr;
    CXTPProtocol* m_xtp = nullptr;
    bool m_ended = false;
    int m_keptEvent = 0;  // the first event the ring refused; 0: none
};

}  // namespace quorex
