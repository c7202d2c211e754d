// CProtocol: one layer of a connection's protocol stack (channel protocol -> frame layer -> XTP
// layer -> XTP package handlers). Received bytes travel up: a layer cuts units (frames, XTP
// packages) from the bytes it is given, each unit a view of the same receive block, and hands each
// to the upper layer registered under the unit's demultiplexing key. Outgoing packages travel
// down: each layer prepends its header into the package's headroom and passes it to its lower
// layer.
//
// A layer reports what ends the connection (a failed read, a broken stream, a time-out) to its
// event sink, the session, as an event through the reactor's ring, so that the session is never
// destroyed while the layer is still at work. When the ring is full the sink keeps the event
// instead (KeepRefusedEvent), and the session acts on it in the reactor's next pass: an event that
// ends a session is never lost.
//
// Ownership: a layer owns its uppers (at most 8, each under an ID); destroying a layer destroys
// its uppers, cancels its timers and drops the events still queued for it. The reactor and the
// event sink (the session that ends the connection) are not owned.
//
// Thread contract: a stack is built on any thread before its session is handed to the reactor;
// from then on every operation runs on the reactor thread.
#pragma once

#include <cstddef>
#include <memory>

#include "public/EventQueue.h"
#include "public/Package.h"
#include "public/TimerQueue.h"

namespace quorex {

class CReactor;

// Events between the layers of a connection and its session.
enum EventCode : int {
    kEventReadFailed = 0x1001,        // channel: read failed or the peer closed
    kEventWriteFailed = 0x1002,       // channel: write failed
    kEventShutdownDone = 0x1003,      // session: deferred destruction after a shutdown
    kEventReceiveTimeout = 0x2001,    // frame layer: nothing received for more than 120 seconds
    kEventHeartbeatFailed = 0x2002,   // frame layer: a heartbeat could not be sent
    kEventFrameStreamBroken = 0x2003, // frame layer: a frame header failed its checks
    kEventPackageBroken = 0x3001,     // XTP layer: a package failed to parse
    kEventSendPackage = 0x4001,       // XTP package handler: send the package (synchronous call)
    kEventLocalFailure = 0x5001,      // API: a user file or a callback failed on a received package
};
// Event codes up to this value carry no meaning for a session.
inline constexpr int kLastIgnoredEventCode = 0x1000;

// What each code that ends a session means, in a few words, for log lines.
struct TEndCodeText {
    int code;
    const char* text;
};
inline constexpr TEndCodeText kEndCodeTexts[] = {
    {kEventReadFailed, "peer closed"},        {kEventWriteFailed, "write failed"},
    {kEventShutdownDone, "shut down"},        {kEventReceiveTimeout, "receive time-out"},
    {kEventHeartbeatFailed, "heartbeat failed"}, {kEventFrameStreamBroken, "bad frame"},
    {kEventPackageBroken, "bad package"},     {kEventLocalFailure, "local failure"},
};
// The words for code from kEndCodeTexts; "unknown end" for a code not in the table.
const char* EndCodeText(int code);

// Control requests passed down the stack.
enum ControlCode : int {
    kControlFrameType = 0x2001,  // data: one byte; non-zero switches later frames to Type 3
};

class CProtocol : public CEventTarget, public CTimerTarget {
public:
    static constexpr int kMaxUppers = 8;

    // headerSize: the bytes this layer prepends to an outgoing package.
    CProtocol(CReactor& reactor, std::size_t headerSize);
    CProtocol(const CProtocol&) = delete;
    CProtocol& operator=(const CProtocol&) = delete;
    ~CProtocol() override;

    // Registers upper under id and takes ownership of it; its header reserve becomes its own
    // header size plus this layer's reserve, and it reports to this layer's event sink. The
    // registered layer, or nullptr (upper destroyed) when 8 are registered or id is taken.
    CProtocol* AddUpper(std::unique_ptr<CProtocol> upper, int id);
    CProtocol* GetUpper(int id) const;
    CProtocol* GetLower() const { return m_lower; }
    int GetId() const { return m_id; }
    // Bytes this layer and all layers below prepend to an outgoing package.
    std::size_t GetHeaderReserve() const { return m_headerReserve; }
    // The session that receives this layer's events; uppers added later inherit it.
    void SetEventSink(CProtocol* sink) { m_eventSink = sink; }
    CReactor& GetReactor() const { return m_reactor; }

    int HandleEvent(int code, int param, void* data) override;
    void OnTimer(int id) override;
    // A request for a lower layer; passed down until a layer handles it. 0 when handled, -1 when
    // no layer did.
    virtual int Control(int code, const void* data);
    // Gives every upper a chance to send what it has pending; true when any did something.
    virtual bool Poll();
    // Cuts units from bytes and delivers each. Returns the bytes consumed (the rest is an
    // incomplete unit, kept by the caller for later), or -1 when the stream is broken.
    virtual int OnReceive(CPackage& bytes);
    // Passes one unit to the upper registered under its key. Negative when the stream is broken.
    virtual int Deliver(CPackage& unit);
    // Passes an outgoing package down; the lower layer's result, -1 at the bottom.
    virtual int Send(CPackage& package);

protected:
    // The layer's own receive package, the window while cutting; nullptr for a layer that does not
    // cut units.
    virtual CPackage* ReceiveUnit() { return nullptr; }
    // Cuts one unit from the front of ReceiveUnit(): its length, 0 when more bytes are needed,
    // negative when the bytes are malformed.
    virtual int CutUnit() { return 0; }
    // The key under which the cut unit's upper is registered.
    virtual int DemuxKey() const { return 0; }
    virtual void OnStreamError() {}
    // A unit whose key has no upper: dropped.
    virtual int OnUnknownUpper(CPackage&) { return 0; }
    // Strips this layer's header from a unit before it goes up; false refuses the unit.
    virtual bool Accept(CPackage&) { return true; }

    // Queues an event for the session; when the reactor's ring is full the session keeps it.
    void PostToSink(int code);
    void SetTimer(int id, int seconds);
    // Takes an event for this layer that the reactor's ring refused. The default drops it; the
    // session keeps the code that ends it.
    virtual void KeepRefusedEvent(int) {}

private:
    struct Upper {
        int id = 0;
        std::unique_ptr<CProtocol> layer;
    };

    CReactor& m_reactor;
    CProtocol* m_lower = nullptr;
    Upper m_uppers[kMaxUppers];
    int m_upperCount = 0;
    const std::size_t m_headerSize;
    std::size_t m_headerReserve;
    int m_id = 0;
    CProtocol* m_eventSink = nullptr;
    bool m_hasTimers = false;
};

}  // namespace quorex
