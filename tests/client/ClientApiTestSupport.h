// Windows without widgets for CClientApi tests: each writes into a shared journal which window got
// which event (or posted message), with or without a record and with which response code, in
// delivery order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "client/shell/ClientApi.h"
#include "client/shell/MessageBridge.h"

namespace kvt::test {

struct Delivery {
    TWindowId window;
    std::string what;  // the event's name, or "message N" for a posted message
    bool hasRecord = false;
    std::string code;  // RspCode, or RspMsg for a channel loss
    bool operator==(const Delivery&) const = default;
};

class JournalWindow : public CMessageTarget, public CTraderEvents {
public:
    JournalWindow(TWindowId window, std::vector<Delivery>& journal) : m_window(window), m_journal(journal) {}
    template <class Window>
    JournalWindow(Window window, std::vector<Delivery>& journal) : JournalWindow(static_cast<TWindowId>(window), journal) {}

#define KVT_EVENT_TRADER(name, Record) \
    void name(const Record* record, const TTRspMsg& rsp) override { Note(#name, record != nullptr, rsp.RspCode, record); }
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER
    void onChannelLost(const TTRspMsg& reason) override { Note("onChannelLost", false, reason.RspMsg, nullptr); }
    void onRecvReqSendOver() override { Note("onRecvReqSendOver", false, "", nullptr); }
    void OnDeliveriesDone() override { ++handOvers; }
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override {
        m_journal.push_back({m_window, "message " + std::to_string(message), wParam != 0, ""});
        if (onMessage) onMessage(message, wParam, lParam);
    }

    // Called with each event's record (null without one) after it was journaled.
    std::function<void(const std::string& event, const void* record)> onEvent;
    std::function<void(unsigned, WParam, LParam)> onMessage;
    int handOvers = 0;

private:
    void Note(const char* event, bool hasRecord, const char* code, const void* record) {
        m_journal.push_back({m_window, event, hasRecord, code});
        if (onEvent) onEvent(event, record);
    }

    TWindowId m_window;
    std::vector<Delivery>& m_journal;
};

// The test's own thread plays the user interface thread, so every call is a direct one.
class NoWakeup : public CBridgeWakeup {
public:
    void Wake() override {}
};

}  // namespace kvt::test
