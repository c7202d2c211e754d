// CChannelWriteQueue: the bytes a channel protocol still has to write, in blocks of 20000 bytes.
// A piece is never split: it goes into the tail block, or into a new block when the tail cannot
// take all of it, so the head block always ends on a piece boundary. Drained blocks leave from the
// head; the last one is kept for reuse, so a steady stream does not allocate.
//
// Thread contract: used by one thread (the reactor thread). Owns its blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace quorex {

class CChannelWriteQueue {
public:
    static constexpr std::size_t kBlockSize = 20000;

    // Queues a piece; false, and nothing queued, when it is larger than a block.
    bool Append(std::span<const std::uint8_t> piece);
    // Up to maxBytes bytes from the head, in one contiguous run; empty when the queue is.
    std::span<const std::uint8_t> Front(std::size_t maxBytes) const;
    // Drops n bytes (at most Front's length) from the head.
    void Consume(std::size_t n);
    bool IsEmpty() const { return m_blocks.empty(); }
    std::size_t Size() const;

private:
    struct Block {
        std::size_t read = 0;
        std::size_t write = 0;
        std::uint8_t data[kBlockSize];
    };

    std::vector<std::unique_ptr<Block>> m_blocks;  // FIFO, head first; none when empty
    std::unique_ptr<Block> m_spare;
};

}  // namespace quorex
