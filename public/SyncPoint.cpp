#include "public/SyncPoint.h"

#include <unistd.h>

#include <cstring>

#include "public/ErrorReport.h"
#include "public/ErrorTexts.h"

namespace quorex {
namespace {

TXTPHeader NewSyncPoint(std::uint8_t series) {
    TXTPHeader point{};
    point.SequenceSeries = series;
    point.Chain = 'C';
    return point;
}

}  // namespace

CSyncPoint::CSyncPoint(std::uint8_t series) : m_point(NewSyncPoint(series)) {}

CSyncPoint::~CSyncPoint() {
    Flush();
    if (m_file != nullptr) std::fclose(m_file);
}

void CSyncPoint::OpenSyncFile(const char* path) {
    Flush();
    if (m_file != nullptr) std::fclose(m_file);
    m_file = nullptr;
    if (path == nullptr) return;

    m_file = std::fopen(path, "r+b");
    if (m_file != nullptr) {
        TXTPHeader stored;
        if (std::fread(&stored, sizeof stored, 1, m_file) == 1) {
            std::memcpy(&m_point, &stored, sizeof m_point);
            // The file is untrusted: keep RootID a terminated text whatever it held.
            m_point.RootID[sizeof m_point.RootID - 1] = '\0';
            return;
        }
        // Shorter than a sync point: the file was cut while it was being created, before any
        // package was delivered. Start from the new sync point and give the file its 56 bytes.
        m_point = NewSyncPoint(m_point.SequenceSeries);
    } else {
        m_file = std::fopen(path, "wb");
        if (m_file == nullptr) throw CRuntimeError(kSyncFileCannotOpen, kModuleXTPPackageHandler, __LINE__);
    }
    Write();
}

bool CSyncPoint::Accept(const TXTPHeader& header) const {
    if (header.SequenceNo == 0 || m_point.SequenceNo < header.SequenceNo) return true;
    Log(LogLevel::kDiagnostic, "Rcv Tid=%08x Seqseri=%d No=%ld,m_pSyncPoint No=%ld\n", header.Tid, header.SequenceSeries,
                static_cast<long>(header.SequenceNo), static_cast<long>(m_point.SequenceNo));
    return false;
}

void CSyncPoint::Advance(const TXTPHeader& header) {
    if (header.SequenceNo == 0) return;
    std::memcpy(&m_point, &header, sizeof m_point);
    if (m_deferred) {
        m_dirty = true;
    } else {
        Write();
    }
}

void CSyncPoint::Flush() {
    if (m_dirty) Write();
}

void CSyncPoint::SetSequence(std::uint32_t sequenceNo) {
    m_point.SequenceNo = sequenceNo;
    Write();
}

// A failed write is ignored: the next delivery writes the whole sync point again. Nothing is
// buffered in the stream (it is only read through stdio, at opening), so the descriptor takes the
// whole point in one positioned write.
void CSyncPoint::Write() {
    m_dirty = false;
    if (m_file == nullptr) return;
    [[maybe_unused]] const ssize_t written = ::pwrite(::fileno(m_file), &m_point, sizeof m_point, 0);
}

}  // namespace quorex
