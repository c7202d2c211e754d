// CEventBatch: the exchange's events on their way from the library's reactor thread to the
// windows. The reactor thread appends each callback with copies of its record and response; the
// batch then goes to the user interface thread as one piece of work (CMessageBridge::Call), which
// delivers every event to the windows the routing table names, in order, each to completion, and
// then tells each window that heard anything that the hand-off is done (OnDeliveriesDone). The
// reactor thread waits meanwhile: a callback returns after the windows have handled it, per batch.
//
// Storage: kCapacity slots, each with room for the largest record, allocated once; appending
// copies and never allocates.
//
// Thread contract: Append and Clear on the thread that fills the batch (the reactor thread, or the
// user interface thread itself), Run on the user interface thread while that thread waits in Call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "client/shell/MessageBridge.h"
#include "client/shell/WindowRegistry.h"

namespace kvt {

class CEventBatch final : public CBridgeCall {
public:
    static constexpr std::size_t kCapacity = 512;

    explicit CEventBatch(const CWindowRegistry& windows);

    // Copies the event: its record (EventRecordSize(event) bytes, or null) and response (null: an
    // empty one). True when the batch is full now.
    bool Append(ETraderEvent event, const void* record, const TTRspMsg* rsp);
    bool Empty() const { return m_count == 0; }
    std::size_t Size() const { return m_count; }
    void Clear() { m_count = 0; }

    void Run(const CMessageBridge& bridge) override;

private:
    struct CSlot {
        ETraderEvent event;
        bool hasRecord;
        TTRspMsg rsp;
    };

    const void* RecordOf(std::size_t i) const { return m_records.get() + i * m_stride; }

    const CWindowRegistry& m_windows;
    std::size_t m_stride;  // bytes per record slot, a multiple of the strictest alignment
    std::unique_ptr<CSlot[]> m_slots;
    std::unique_ptr<std::byte[]> m_records;
    std::size_t m_count = 0;
};

}  // namespace kvt
