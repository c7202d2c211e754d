#include "public/ChannelWriteQueue.h"

#include <algorithm>
#include <cstring>

namespace quorex {

bool CChannelWriteQueue::Append(std::span<const std::uint8_t> piece) {
    if (piece.size() > kBlockSize) return false;
    if (piece.empty()) return true;
    if (m_blocks.empty() || kBlockSize - m_blocks.back()->write < piece.size()) {
        std::unique_ptr<Block> block = m_spare != nullptr ? std::move(m_spare) : std::make_unique<Block>();
        block->read = block->write = 0;
        m_blocks.push_back(std::move(block));
    }
    Block& tail = *m_blocks.back();
    std::memcpy(tail.data + tail.write, piece.data(), piece.size());
    tail.write += piece.size();
    return true;
}

std::span<const std::uint8_t> CChannelWriteQueue::Front(std::size_t maxBytes) const {
    if (m_blocks.empty()) return {};
    const Block& head = *m_blocks.front();
    return {head.data + head.read, std::min(maxBytes, head.write - head.read)};
}

void CChannelWriteQueue::Consume(std::size_t n) {
    if (m_blocks.empty()) return;
    Block& head = *m_blocks.front();
    head.read += std::min(n, head.write - head.read);
    if (head.read < head.write) return;
    m_spare = std::move(m_blocks.front());
    m_blocks.erase(m_blocks.begin());
}

std::size_t CChannelWriteQueue::Size() const {
    std::size_t size = 0;
    for (const auto& block : m_blocks) size += block->write - block->read;
    return size;
}

}  // namespace quorex
