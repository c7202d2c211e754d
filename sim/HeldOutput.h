// CHeldOutput: stands between the exchange and its output, so that no session is answered with
// what the day's files do not keep yet. While the files hold records back (CHeldWrites), every
// dialog package and session end is held, in order; Release hands them on once the exchange has
// written its pass. With nothing held back (a query, a day kept in memory) they go on at once.
// Logins and stale subscriptions are only reported, and go on at once.
//
// Thread contract: one thread (the exchange's). Owns the held bytes; the output and the held
// writes are borrowed and must outlive it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "sim/ExchangeOutput.h"
#include "sim/FlowAppender.h"

namespace quorex::sim {

class CHeldOutput final : public CExchangeOutput {
public:
    CHeldOutput(CExchangeOutput& output, const CHeldWrites& writes);

    void SendDialog(SessionId session, std::span<const std::uint8_t> package) override;
    void EndSession(SessionId session) override;
    void OnLoggedIn(SessionId session, std::string_view role, std::string_view user) override;
    void OnStaleSubscription(SessionId session, int series, std::int32_t point, std::uint32_t last) override;

    // Hands on what was held, in the order it came.
    void Release();

private:
    // A held package (its bytes among m_bytes), or a held end of the session when length is kEnd.
    struct CHeld {
        SessionId session;
        std::uint32_t offset;
        std::uint32_t length;
    };
    static constexpr std::uint32_t kEnd = UINT32_MAX;

    CExchangeOutput& m_output;
    const CHeldWrites& m_writes;
    std::vector<CHeld> m_held;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace quorex::sim
