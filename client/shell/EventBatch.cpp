// CEventBatch: copies in, deliveries in order out.
#include "client/shell/EventBatch.h"

#include <cstring>

namespace kvt {
namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);

std::size_t RoundUp(std::size_t bytes) { return (bytes + kAlignment - 1) / kAlignment * kAlignment; }

}  // namespace

CEventBatch::CEventBatch(const CWindowRegistry& windows)
    : m_windows(windows), m_stride(RoundUp(kMaxEventRecordSize)), m_slots(std::make_unique<CSlot[]>(kCapacity)),
      // operator new[] aligns for any fundamental type, so every slot of m_stride bytes is aligned.
      m_records(std::make_unique<std::byte[]>(kCapacity * m_stride)) {}

bool CEventBatch::Append(ETraderEvent event, const void* record, const TTRspMsg* rsp) {
    CSlot& slot = m_slots[m_count];
    slot.event = event;
    slot.hasRecord = record != nullptr;
    if (rsp != nullptr) {
        std::memcpy(&slot.rsp, rsp, sizeof slot.rsp);
    } else {
        slot.rsp = TTRspMsg{};
    }
    if (record != nullptr) std::memcpy(m_records.get() + m_count * m_stride, record, EventRecordSize(event));
    return ++m_count == kCapacity;
}

void CEventBatch::Run(const CMessageBridge& bridge) {
    std::uint32_t heard = 0;
    static_assert(CWindowRegistry::kMaxWindows <= 32);
    for (std::size_t i = 0; i < m_count; ++i) {
        const CSlot& slot = m_slots[i];
        for (const TWindowId id : m_windows.Receivers(slot.event)) {
            if (bridge.IsStopped()) return;
            // Looked up now: a window that went away meanwhile hears nothing.
            CTraderEvents* window = m_windows.Events(id);
            if (window == nullptr) continue;
            DeliverEvent(*window, slot.event, slot.hasRecord ? RecordOf(i) : nullptr, slot.rsp);
            heard |= std::uint32_t{1} << id;
        }
    }
    for (TWindowId id = 0; heard != 0; ++id, heard >>= 1) {
        if ((heard & 1) == 0 || bridge.IsStopped()) continue;
        if (CTraderEvents* window = m_windows.Events(id)) window->OnDeliveriesDone();
    }
}

}  // namespace kvt
