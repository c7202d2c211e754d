// The event table's sizes, names and the one place where a copied record becomes its type again.
#include "client/shell/TraderEvents.h"

#include <algorithm>
#include <iterator>
#include <new>

namespace kvt {
namespace {

constexpr std::size_t kRecordSizes[] = {
#define KVT_EVENT_TRADER(name, Record) sizeof(Record),
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER
    0, 0, 0,  // onChannelLost, ChannelLostAtLogin, onRecvReqSendOver
};
static_assert(std::size(kRecordSizes) == kTraderEventCount);

constexpr const char* kNames[] = {
#define KVT_EVENT_TRADER(name, Record) #name,
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER
    "onChannelLost", "ChannelLostAtLogin", "onRecvReqSendOver",
};
static_assert(std::size(kNames) == kTraderEventCount);

// The bytes were copied from a record of this type (trivially copyable), so they hold one.
template <class Record>
const Record* AsRecord(const void* bytes) {
    return bytes == nullptr ? nullptr : std::launder(static_cast<const Record*>(bytes));
}

}  // namespace

const std::size_t kMaxEventRecordSize = *std::max_element(std::begin(kRecordSizes), std::end(kRecordSizes));

std::size_t EventRecordSize(ETraderEvent event) { return kRecordSizes[static_cast<std::size_t>(event)]; }

const char* EventName(ETraderEvent event) { return kNames[static_cast<std::size_t>(event)]; }

void DeliverEvent(CTraderEvents& window, ETraderEvent event, const void* record, const TTRspMsg& rsp) {
    switch (event) {
#define KVT_EVENT_TRADER(name, Record) \
    case ETraderEvent::name:           \
        window.name(AsRecord<Record>(record), rsp); \
        return;
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER
        case ETraderEvent::onChannelLost:
        case ETraderEvent::ChannelLostAtLogin:
            window.onChannelLost(rsp);
            return;
        case ETraderEvent::onRecvReqSendOver:
            window.onRecvReqSendOver();
            return;
        case ETraderEvent::kCount:
            return;
    }
}

}  // namespace kvt
