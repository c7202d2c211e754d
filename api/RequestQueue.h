// CRequestQueue: requests built on user threads and waiting for the reactor thread to send them.
// Each request is kept in flat form (the 56-byte in-memory header, then the content) in a chain
// of 30000-byte blocks; drained blocks are kept for reuse, so queuing allocates only while the
// queue grows past what it held before.
//
// Thread contract: Build may be called from any thread; Drain and Clear run on the reactor thread
// (or on the owner's once it has stopped). One mutex guards the working package and the blocks;
// Drain holds it only to take the queued blocks and to give them back, not while it sends, so user
// threads go on queuing meanwhile. What they queue then goes out at the next Drain, after what was
// taken: the order of the requests is kept.
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
    // and queues the result. False, with nothing queued, when tid is not in the catalogue or fill
    // returns false (a record that does not fit).
    template <class Fill>
    bool Build(std::uint32_t tid, const char* requestId, Fill fill);
    // Restores every queued package in order into a package and hands it to send, then forgets
    // the sent bytes.
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
    // Moves every block of blocks, emptied, to the spare list; the caller holds the mutex.
    void RecycleBlocks(std::vector<Block>& blocks);
    // Gives the blocks Drain took back to the spare list, also when sending threw.
    void RecycleDrained();

    std::mutex m_mutex;
    CXTPPackage m_working;
    std::vector<Block> m_blocks;
    std::vector<Block> m_spare;
    // The drain's own: the blocks being sent and the package each request is restored into.
    std::vector<Block> m_draining;
    CXTPPackage m_restored;
};

template <class Fill>
bool CRequestQueue::Build(std::uint32_t tid, const char* requestId, Fill fill) {
    std::lock_guard lock(m_mutex);
    if (!m_working.Prepare(tid)) return false;
    m_working.SetRootID(requestId);
    if (!fill(m_working)) return false;
    AppendWorking();
    return true;
}

template <class Send>
void CRequestQueue::Drain(Send send) {
    {
        std::lock_guard lock(m_mutex);
        if (m_blocks.empty()) return;
        m_draining.swap(m_blocks);
    }
    struct Recycle {
        CRequestQueue& queue;
        ~Recycle() { queue.RecycleDrained(); }
    } recycle{*this};
    for (Block& block : m_draining) {
        std::size_t offset = 0;
        while (block.used - offset >= sizeof(TXTPHeader)) {
            const std::span<const std::uint8_t> rest(block.bytes.get() + offset, block.used - offset);
            m_restored.LoadFlat(rest);
            offset += sizeof(TXTPHeader) + m_restored.Length();
            send(m_restored);
        }
    }
}

}  // namespace quorex
