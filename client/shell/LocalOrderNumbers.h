// CLocalOrderNumbers: the two local order numbers of the login state seen as what they mean to
// the windows that place orders. The acknowledged number is the localOrderNo of the last order the
// exchange answered (set first by the login); the sent number (nextLocalOrderNo) is that of the
// last order handed to the library. While they differ a single order is in flight, and the order
// entry page sends no other.
//
// Numbers are 14 decimal digits ("%.14d", cut to 14 characters) and are computed in 64 bits.
// Batches and pre-order sends set their numbers aside when they are given, from the larger of the
// two and of every number set aside before, so they never reuse a number the exchange has been
// sent already or that a command still waiting to go holds (a refused answer rolls the sent number
// back while later orders of a batch are unanswered); and an accepted order whose number is above the sent number (a
// later order of a batch, accepted after an earlier one was refused) moves the sent number with
// the acknowledged one, so the two meet again and single orders are not blocked for good.
//
// Thread contract: user interface thread only, after the login response (see CLoginState).
#pragma once

#include <cstdint>
#include <string>

#include "client/shell/LoginState.h"

namespace kvt {

class CLocalOrderNumbers {
public:
    explicit CLocalOrderNumbers(CLoginState& login) : m_login(login) {}

    static std::string Format(std::int64_t number);
    // The digits of a number field as a number; 0 for anything else.
    static std::int64_t Parse(const char* text);

    std::int64_t Acknowledged() const;
    std::int64_t Sent() const;
    bool IsOrderInFlight() const;
    // A single order's number: acknowledged + 1.
    std::string NextSingle() const { return Format(Acknowledged() + 1); }
    // Sets count numbers aside for a batch or a pre-order send and returns its base: its k-th
    // order (k = 1 to count) is base + k.
    std::int64_t ReserveBatch(int count);

    // The library took the order with this number.
    void OnSent(const std::string& localOrderNo);
    // The exchange answered an order; on success echoed is the answered order's localOrderNo.
    void OnAnswered(bool success, const char* echoed);

private:
    CLoginState& m_login;
};

}  // namespace kvt
