#include "api/RequestQueue.h"

namespace quorex {

void CRequestQueue::AppendWorking() {
    if (m_blocks.empty() || kBlockSize - m_blocks.back().used < kMaxFlatLength) {
        if (m_spare.empty()) {
            m_blocks.emplace_back();
        } else {
            m_blocks.push_back(std::move(m_spare.back()));
            m_spare.pop_back();
        }
    }
    Block& tail = m_blocks.back();
    tail.used += m_working.SaveFlat({tail.bytes.get() + tail.used, kBlockSize - tail.used});
}

void CRequestQueue::Clear() {
    std::lock_guard lock(m_mutex);
    RecycleBlocks(m_blocks);
}

void CRequestQueue::RecycleDrained() {
    std::lock_guard lock(m_mutex);
    RecycleBlocks(m_draining);
}

void CRequestQueue::RecycleBlocks(std::vector<Block>& blocks) {
    for (Block& block : blocks) {
        block.used = 0;
        m_spare.push_back(std::move(block));
    }
    blocks.clear();
}

}  // namespace quorex
