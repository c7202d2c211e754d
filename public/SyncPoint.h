// CSyncPoint: the last sequenced package an XTP package handler delivered, kept in memory and in a
// sync file of exactly 56 bytes (the in-memory TXTPHeader) at offset 0, so that after a restart
// nothing is delivered twice. The file is rewritten with one positioned write. Used by the thread
// that runs its handler.
#pragma once

#include <cstdint>
#include <cstdio>

#include "quorex/Records.h"

namespace quorex {

class CSyncPoint {
public:
    // A new sync point: SequenceSeries = series, Chain 'C', every other member 0; no file yet.
    explicit CSyncPoint(std::uint8_t series);
    CSyncPoint(const CSyncPoint&) = delete;
    CSyncPoint& operator=(const CSyncPoint&) = delete;
    ~CSyncPoint();

    // Closes the current file, then opens path ("r+b") and reads the 56 bytes into the sync
    // point, or creates it ("wb") and writes the sync point. A file shorter than 56 bytes gives a
    // new sync point, written back. A null path keeps the point in memory only.
    // CRuntimeError "Can't open sync file" when the file can be neither opened nor created.
    void OpenSyncFile(const char* path);
    // Whether a received package with this header is to be delivered: packages with SequenceNo 0
    // always are; a sequenced one only when its number is above the sync point's. A refused
    // package prints "Rcv Tid=%08x Seqseri=%d No=%ld,m_pSyncPoint No=%ld\n".
    bool Accept(const TXTPHeader& header) const;
    // After a delivery that returned 0 or more: a sequenced package becomes the sync point and the
    // file is rewritten at offset 0 (a failed write is ignored; the next one retries), at once or,
    // with deferred writes, at the next Flush.
    void Advance(const TXTPHeader& header);
    // Deferred writes: Advance only changes the point in memory, Flush (and the destructor) writes
    // it. A user that writes a log of what it delivered before its sync points, and can set them
    // from that log, saves a write per package this way.
    void DeferWrites(bool deferred) { m_deferred = deferred; }
    // Writes a point that Advance changed since the last write.
    void Flush();
    // A new trading day: SequenceNo back to 0 (the rest is kept) and the file rewritten, so the
    // exchange resends the series from its start.
    void ResetSequence() { SetSequence(0); }
    // Sets SequenceNo (the rest is kept) and rewrites the file: the point is put where what the
    // user was given ends, as the received log tells it.
    void SetSequence(std::uint32_t sequenceNo);
    const TXTPHeader& Point() const { return m_point; }

private:
    void Write();

    TXTPHeader m_point{};
    std::FILE* m_file = nullptr;
    bool m_deferred = false;
    bool m_dirty = false;
};

}  // namespace quorex
