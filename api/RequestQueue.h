// CRequestQueue: requests built on user threads and waiting for the reactor thread to send them.
// Each request is kept in flat form (the 56-byte in-memory header, then the content) in a chain
// of 30000-byte blocks; drained blocks are kept for reuse, so queuing allocates only while the
// queue grows past what it held before.
//
// Thread contract: Build may be called from any thread; Drain runs on the reactor thread. One
// mutex guards the working package and the blocks; Drain holds it while it sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "public/XTPPackage.h"

namespace quorex {

class CRequestQueue {
public:
    static constexpr std::size_t kBlockSize = 30000;

    // Prepares the working package for tid with requestId as RootID, lets fill add the fields,
    // and queues the result. False when tid is not in the catalogue.
    template <class Fill>
    bool Build(std::uint32_t tid, const char* requestId, Fill fill);
    // Restores every queued package in order into a package and hands it to send, then forgets
    // the queued bytes.
    template <class Send>
    void Drain(Send send);
    // Forgets every queued request (they belonged to a session that has ended).
    void Clear();

private:
    struct Block {
        std::unique_ptr<std::uint8_t[]> bytes{new std::uint8_t[kBlockSize]};
        std::size_t used = 0;
    };
    static constexpr std::size_t kMaxFlatLength = sizeof(TXTPHeader) + kMaxPayloadLength;

    void AppendWorking();
    // Moves every block, emptied, to the spare list; the caller holds the mutex.
    void RecycleBlocks();

    std::mutex m_mutex;
    CXTPPackage m_working;
    CXTPPackage m_restored;
    std::vector<Block> m_blocks;
    std::vector<Block> m_spare;
};

template <class Fill>
bool CRequestQueue::Build(std::uint32_t tid, const char* requestId, Fill fill) {
    std::lock_guard lock(m_mutex);
    if (!m_working.Prepare(tid)) return false;
    m_working.SetRootID(requestId);
    fill(m_working);
    AppendWorking();
    return true;
}

template <class Send>
void CRequestQueue::Drain(Send send) {
    std::lock_guard lock(m_mutex);
    for (Block& block : m_blocks) {
        std::size_t offset = 0;
        while (block.used - offset >= sizeof(TXTPHeader)) {
            const std::span<const std::uint8_t> rest(block.bytes.get() + offset, block.used - offset);
            m_restored.LoadFlat(rest);
            offset += sizeof(TXTPHeader) + m_restored.Length();
            send(m_restored);
        }
    }
    RecycleBlocks();
}

}  // namespace quorex
