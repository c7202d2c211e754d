// CReceivedLog: the day's received packages of the member, private and market flows, kept in
// "log%s.id"/"log%s.con" (an XTP flow of series 1) so that a second login of the same trading day
// can replay them. Used on the reactor thread only.
#pragma once

#include <memory>
#include <string>

#include "public/XTPFlow.h"

namespace quorex {

class CReceivedLog {
public:
    // Opens the user's log: keep=true keeps what the files hold (same trading day), false starts
    // them afresh. Errors of the flow (CRuntimeError) propagate.
    void Open(const char* userId, bool keep);
    bool IsOpen() const { return m_flow != nullptr; }
    std::uint32_t Count() const { return m_flow != nullptr ? m_flow->Count() : 0; }
    // Stores a received package: its header as received (the log numbers it in its own series)
    // and its content.
    void Append(const CXTPPackage& received);
    // Restores every stored package in order and hands it to deliver. CDesignError
    // "不是一个完整的交易请求包" for a stored record that does not parse as a complete package.
    template <class Deliver>
    void Replay(Deliver deliver);

private:
    void ReadNext(std::uint32_t& offset, CXTPPackage& package);

    std::unique_ptr<CXTPFlow> m_flow;
    CXTPPackage m_stored;  // the copy being appended: content with headroom for the header
};

template <class Deliver>
void CReceivedLog::Replay(Deliver deliver) {
    if (m_flow == nullptr) return;
    CXTPPackage package;
    std::uint32_t offset = 0;
    for (std::uint32_t n = m_flow->Count(); n > 0; --n) {
        ReadNext(offset, package);
        deliver(package);
    }
}

}  // namespace quorex
