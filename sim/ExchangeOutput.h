// What the exchange needs from its surroundings: where its dialog packages go and how it ends a
// session (CExchangeOutput), and the time of day it writes into records (CTimeOfDay). Both are
// interfaces implemented by the server (or a test) and borrowed by the exchange.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quorex::sim {

using SessionId = std::uint32_t;

// Where the exchange's dialog packages go, and how it ends a session.
class CExchangeOutput {
public:
    virtual ~CExchangeOutput() = default;
    // A package for one session in wire form (XTP header and content); valid during the call.
    virtual void SendDialog(SessionId session, std::span<const std::uint8_t> package) = 0;
    // Ends a session once what it was given has gone out: after a logout, a forced logout, or a
    // new login of the same user elsewhere. The exchange has already forgotten the session.
    virtual void EndSession(SessionId session) = 0;
    // A session logged in: role is "trader" or "monitor", user the user's ID (GBK).
    virtual void OnLoggedIn(SessionId session, std::string_view role, std::string_view user) {
        (void)session, (void)role, (void)user;
    }
    // A login's subscription point lies beyond the end of its flow: the client kept the state of
    // another run of this trading day and will drop this run's packages up to its point.
    virtual void OnStaleSubscription(SessionId session, int series, std::int32_t point, std::uint32_t last) {
        (void)session, (void)series, (void)point, (void)last;
    }
};

// The time of day written into records, "HH:MM:SS"; injectable so that tests see fixed times.
class CTimeOfDay {
public:
    virtual ~CTimeOfDay() = default;
    virtual void Format(char (&text)[9]) const = 0;
};

// The local time of day of the machine.
class CLocalTimeOfDay final : public CTimeOfDay {
public:
    void Format(char (&text)[9]) const override;
};

}  // namespace quorex::sim
