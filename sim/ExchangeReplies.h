// CExchangeReplies: how the exchange's parts answer a session on its dialog flow and publish on
// the sequenced flows, all through one reusable package writer.
//
// Thread contract: one thread (the exchange's). Owns its writer; the output is borrowed.
#pragma once

#include <algorithm>
#include <span>

#include "public/XTPPackage.h"
#include "sim/ExchangeOutput.h"
#include "sim/PackageWriter.h"
#include "sim/Responses.h"
#include "sim/SequencedFlow.h"

namespace quorex::sim {

class CExchangeReplies {
public:
    explicit CExchangeReplies(CExchangeOutput& output) : m_output(&output) {}

    CExchangeOutput& Output() { return *m_output; }
    // Sends every later dialog package and session end to another output (a replay discards them).
    void SetOutput(CExchangeOutput& output) { m_output = &output; }
    CPackageWriter& Writer() { return m_writer; }

    // Answers a request with its record (none for a refusal without one) and the result.
    template <class Record>
    void Answer(SessionId id, const CXTPPackage& request, const Record* echo, Rsp result);
    // Answers a query with its records, over as many packages as they need, each with the
    // response field.
    template <class Record>
    void AnswerRecords(SessionId id, const CXTPPackage& request, std::uint32_t tid, std::span<const Record> records);
    // Sends information records (reference data) on the dialog flow, as many per package as fit.
    template <class Record>
    void SendRecords(SessionId id, std::uint32_t tid, std::span<const Record> records);
    // Appends a package with one record to a sequenced flow.
    template <class Record>
    void Publish(CSequencedFlow& flow, std::uint32_t tid, const Record& record);

private:
    CExchangeOutput* m_output;
    CPackageWriter m_writer;
};

template <class Record>
void CExchangeReplies::Answer(SessionId id, const CXTPPackage& request, const Record* echo, Rsp result) {
    m_writer.Begin(request.m_XTPHeader.Tid + 1, request.m_XTPHeader.RootID);
    if (echo != nullptr) m_writer.Add(*echo);
    m_writer.Add(RspMsgOf(result));
    m_output->SendDialog(id, m_writer.FinishDialog(kChainSingle));
}

// Fields of one type stand in a package in the reverse order of their addition, so each
// package's share is added backwards: the receiver reads the records in the order given.
template <class Record>
void CExchangeReplies::AnswerRecords(SessionId id, const CXTPPackage& request, std::uint32_t tid, std::span<const Record> records) {
    constexpr std::size_t kPerPackage = CPackageWriter::RecordsPerPackage<Record>(CPackageWriter::kResponseReserve);
    std::size_t start = 0;
    do {
        const std::size_t end = std::min(records.size(), start + kPerPackage);
        m_writer.Begin(tid, request.m_XTPHeader.RootID);
        for (std::size_t i = end; i-- > start;) m_writer.Add(records[i]);
        m_writer.Add(RspMsgOf(Rsp::kSuccess));
        const bool last = end == records.size();
        m_output->SendDialog(id, m_writer.FinishDialog(last ? (start == 0 ? kChainSingle : kChainLast) : kChainMore));
        start = end;
    } while (start < records.size());
}

template <class Record>
void CExchangeReplies::SendRecords(SessionId id, std::uint32_t tid, std::span<const Record> records) {
    constexpr std::size_t kPerPackage = CPackageWriter::RecordsPerPackage<Record>(0);
    for (std::size_t start = 0; start < records.size();) {
        const std::size_t end = std::min(records.size(), start + kPerPackage);
        m_writer.Begin(tid);
        for (std::size_t i = end; i-- > start;) m_writer.Add(records[i]);
        const bool last = end == records.size();
        m_output->SendDialog(id, m_writer.FinishDialog(last ? (start == 0 ? kChainSingle : kChainLast) : kChainMore));
        start = end;
    }
}

template <class Record>
void CExchangeReplies::Publish(CSequencedFlow& flow, std::uint32_t tid, const Record& record) {
    m_writer.Begin(tid);
    m_writer.Add(record);
    flow.Append(m_writer.Header(), m_writer.Content());
}

}  // namespace quorex::sim
