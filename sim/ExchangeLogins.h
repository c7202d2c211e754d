// CExchangeLogins: the exchange's sessions. Logs traders (tid::ReqTraderLogin) and monitor users
// (tid::ReqUserLogin) in with one subscription point per flow and resumes each flow after it, sends the
// reference data, logs out, changes passwords, and hands each session its flows' packages one at
// a time, in flow order (private, member, market), followed, once the session has caught up with
// what its flows held at login, by the end of the standard data (tid::ReqStandardDataSendOver).
//
// Thread contract: one thread (the exchange's). Owns the sessions; the day state and the replies are
// borrowed from the exchange.
#pragma once

#include <span>
#include <unordered_map>

#include "public/XTPPackage.h"
#include "sim/ExchangeOutput.h"
#include "sim/ExchangeReplies.h"
#include "sim/ExchangeState.h"
#include "public/PackageTypes.h"

namespace quorex::sim {

class CExchangeLogins {
public:
    CExchangeLogins(CExchangeState& state, CExchangeReplies& replies)
        : m_state(state), m_replies(replies) {}

    // The session's record, created (not logged in) on first use.
    CExchangeSession& SessionOf(SessionId id) { return m_sessions[id]; }
    // Forgets a session: its user is offline from now on.
    void ForgetSession(SessionId id);

    std::span<const std::uint8_t> NextPackage(SessionId id);
    bool HasPending(SessionId id) const;
    bool IsLoggedIn(SessionId id) const;

    // Handlers of the dispatch table.
    void TraderLogin(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void UserLogin(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void TraderLogout(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void UserLogout(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void TraderPassword(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void UserPassword(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    // The client's answer to the end of the standard data needs nothing.
    void IgnoreRequest(SessionId id, CExchangeSession& session, const CXTPPackage& request);

private:
    // Points the cursors of the three flows at the login's subscription points, when the login
    // carries the exchange's trade date; otherwise at the flows' starts.
    void Subscribe(SessionId id, CExchangeSession& session, const CXTPPackage& request, std::string_view tradeDate,
                   const CSequencedFlow* flows[3]);
    // Binds a logged-in user to this session and tells the server who it is; the same user logging
    // in again takes over and the earlier connection is ended.
    template <class UserState>
    void ClaimSession(SessionId id, CExchangeSession& session, UserState& state, Role role, int user,
                      std::string_view userId);
    // The successful login answer (the record, the three flows' last points, success), then the
    // day's reference data.
    template <class LoginRecord>
    void SendLoginAnswer(SessionId id, const CXTPPackage& request, const LoginRecord& answer,
                         const CSequencedFlow* const flows[3]);
    void SendReferenceData(SessionId id);

    CExchangeState& m_state;
    CExchangeReplies& m_replies;
    std::unordered_map<SessionId, CExchangeSession> m_sessions;
};

}  // namespace quorex::sim
