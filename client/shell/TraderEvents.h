// CTraderEvents: what the exchange tells the client's windows, one method per library callback a
// trader gets, each with its own record type, expanded from the library's callback table
// (quorex/callbacks.def). The record is null for an answer without records; the response is
// always there. Both belong to the caller and are valid during the call only: a window copies what
// it keeps. A window implements the events it wants; the others do nothing.
//
// ETraderEvent names each event, so that the routing table (which window hears which event, in
// which order) is data: see CWindowRegistry. Two events have no callback of their own:
// ChannelLostAtLogin is onChannelLost while the login dialog is open, and each hand-off ends with
// OnDeliveriesDone for the windows that heard anything in it.
//
// Thread contract: every method runs on the user interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quorex/Records.h"

namespace kvt {

// Expands the callbacks of callbacks.def that a trader gets (redeclared by CTraderApi or by both):
// the includer defines KVT_EVENT_TRADER(name, Record) before it includes the table.
#define KVT_EVENT_BOTH KVT_EVENT_TRADER
#define KVT_EVENT_ADMIN(name, Record)
#define KVT_EVENT_NONE(name, Record)

class CTraderEvents {
public:
    virtual ~CTraderEvents() = default;

#define KVT_EVENT_TRADER(name, Record) \
    virtual void name(const Record* record, const TTRspMsg& rsp) { (void)record, (void)rsp; }
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER

    // The connection to the exchange ended; RspMsg holds the library's reason.
    virtual void onChannelLost(const TTRspMsg& reason) { (void)reason; }
    // The exchange has sent the standard data that follows a login.
    virtual void onRecvReqSendOver() {}
    // Every event of one hand-off from the library has been delivered: a window that gathered
    // changes while they came (rows to insert) makes them now.
    virtual void OnDeliveriesDone() {}
};

enum class ETraderEvent : std::uint8_t {
#define KVT_EVENT_TRADER(name, Record) name,
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER
    onChannelLost,
    ChannelLostAtLogin,
    onRecvReqSendOver,
    kCount
};
inline constexpr std::size_t kTraderEventCount = static_cast<std::size_t>(ETraderEvent::kCount);

// The size of the record an event carries (0 for the events without one).
std::size_t EventRecordSize(ETraderEvent event);
// The largest of them.
extern const std::size_t kMaxEventRecordSize;
// The event's name, as its method is called (for tests and diagnostics).
const char* EventName(ETraderEvent event);

// Calls the event's method on window with the record (the bytes of a record of the event's type,
// or null) and the response.
void DeliverEvent(CTraderEvents& window, ETraderEvent event, const void* record, const TTRspMsg& rsp);

}  // namespace kvt
