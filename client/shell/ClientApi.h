// CClientApi: the client's one API object. It derives from the library's CTraderApi, so the
// windows send their requests by calling the inherited request methods on it, and it is
// - the window registry (CWindowRegistry): every window that must hear of exchange events, or
//   receive posted messages, registers there;
// - the bridge: every callback a trader gets becomes an event of CTraderEvents, delivered on the
//   user interface thread to the windows the routing table names, in its order (the table is given
//   at construction: the pages' layer has it). The events go in batches (CEventBatch): copies of
//   the records are gathered while the library's reactor has more to deliver, and handed over once
//   its pass ends (SetCallbackBatchEnd) or the batch is full; the callback that hands a batch over
//   returns once the windows have handled it. A callback made on the user interface thread itself
//   is delivered at once;
// - the holder of the login state (CLoginState).
//
// What the bridge does beside routing:
//   onChannelLost                 logged out; the event is ChannelLostAtLogin while the login dialog
//                                 is registered, onChannelLost otherwise, with a TTRspMsg holding the
//                                 first 60 characters of the reason
//   onRecvRspTraderLogin          only with the login dialog registered; once the dialog has handled
//                                 it, on success the login state is filled
//   onRecvRspTraderLogout         logged out
//
// Thread contract: callbacks run on the library's reactor thread; registration, the instrument
// table and YqInstIDOf belong to the user interface thread; CLoginState says who touches what.
// Ownership: the main frame owns this object; the bridge is owned outside and must outlive it.
// The destructor stops the bridge first, so a reactor thread blocked in a delivery is released,
// and then stops the library's reactor thread, before any member goes.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <span>
#include <string>

#include "client/shell/EventBatch.h"
#include "client/shell/LoginState.h"
#include "client/shell/MessageBridge.h"
#include "client/shell/TypedRecordTable.h"
#include "client/shell/WindowRegistry.h"
#include "quorex/quorex.h"

namespace kvt {

class CClientApi : public CTraderApi {
public:
    using NowFunction = std::function<std::time_t()>;

    // routes: which window hears which event; now gives the local time for the server clock
    // offset (the system clock by default).
    CClientApi(CMessageBridge& bridge, std::span<const CEventRoute> routes,
               NowFunction now = [] { return std::time(nullptr); });
    ~CClientApi() override;
    // Ends all deliveries and stops the library's reactor thread; the destructor does it too.
    // Whoever owns the windows calls it before destroying them. Idempotent.
    void Stop();

    CWindowRegistry& Windows() { return m_windows; }
    const CWindowRegistry& Windows() const { return m_windows; }
    // The order entry page's instruments: TYuanQiInst records with CompareInstrumentKey as index 0
    // (CDesignError otherwise); null unregisters it.
    void SetInstrumentTable(const CTypedRecordTable<TYuanQiInst>* instruments);
    const CTypedRecordTable<TYuanQiInst>* InstrumentTable() const { return m_instruments; }
    // The 10-character yqInstID of the instrument with this instID (6 characters); "" when unknown.
    std::string YqInstIDOf(const char* instID) const;

    // Records the callbacks have carried so far (any thread may read it; the login dialog shows the
    // count while the initial download runs).
    std::uint64_t DeliveredRecordCount() const { return m_deliveredRecords.load(std::memory_order_relaxed); }

    // Hands over what the batch holds and returns when the windows have handled it; the library
    // calls it at the end of each pass of its reactor (and a test or benchmark standing in for the
    // library at the end of what it delivered).
    void DeliverPending();

    CLoginState& LoginState() { return m_login; }
    const CLoginState& LoginState() const { return m_login; }

    void onChannelLost(const char* reason) override;
    void onRecvReqSendOver() override;
#define KVT_EVENT_TRADER(name, Record) void name(const Record* record, const TTRspMsg* rsp, const char* requestId) override;
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER

private:
    template <ETraderEvent Event, class Record>
    void OnCallback(const Record* record, const TTRspMsg* rsp);
    // Adds the event to the batch, when any window hears it, and hands the batch over when it is
    // full or when the user interface thread made the callback.
    void Forward(ETraderEvent event, const void* record, const TTRspMsg* rsp);
    static void OnBatchEnd(void* self) { static_cast<CClientApi*>(self)->DeliverPending(); }

    CMessageBridge& m_bridge;
    NowFunction m_now;
    CWindowRegistry m_windows;
    CEventBatch m_batch;
    const CTypedRecordTable<TYuanQiInst>* m_instruments = nullptr;
    CLoginState m_login;
    std::atomic<std::uint64_t> m_deliveredRecords{0};
};

}  // namespace kvt
