// CLoginState: what the client knows about its login. After a successful login response it holds
// the trader's identity (traderID, memberID, password as echoed by the server, and in localOrderNo
// the last local order number the server acknowledged; every other TTrader field stays zero), the
// working copy of the next local order number, the logged-in flag and the offset of the server's
// clock from the local clock. Every request the client sends takes its trader and member codes
// from here. A logout or a lost connection clears only the flag.
//
// Thread contract: written on the library's reactor thread (login response, logout, channel loss)
// and read on the user interface thread. The flag and the offset are atomic, since the clock reads
// the offset at any time. The identity and the order numbers are written by the login response
// before the initial download ends, and the windows read them only after the end of the download
// has been delivered to them, which orders the accesses; afterwards only the user interface thread
// writes the order numbers.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>

#include "quorex/Records.h"

namespace kvt {

class CLoginState {
public:
    using OrderNo = char[15];  // 14 digits and a terminator, copied as one unit

    CLoginState() = default;
    CLoginState(const CLoginState&) = delete;
    CLoginState& operator=(const CLoginState&) = delete;

    // The login response's record, when its code was the success code: copies the identity and the
    // acknowledged order number (also into the next order number), sets the flag, and sets the
    // offset to the record's trade date and time, read as local time, minus now. A trade date or
    // time that is not a valid calendar time leaves the offset as it was.
    void ApplyLoginResponse(const TReqTraderLogin& login, std::time_t now);
    void SetLoggedOut() { m_loggedIn.store(false, std::memory_order_release); }

    const TTrader& Trader() const { return m_trader; }
    bool IsLoggedIn() const { return m_loggedIn.load(std::memory_order_acquire); }
    // Seconds: server time minus local time at the login response.
    std::int32_t ServerTimeOffset() const { return m_serverTimeOffset.load(std::memory_order_acquire); }

    void GetNextLocalOrderNo(OrderNo& out) const;
    void SetNextLocalOrderNo(const OrderNo& next);
    // The last local order number that the server acknowledged.
    void SetAcknowledgedLocalOrderNo(const OrderNo& acknowledged);
    // The highest local order number a batch or a pre-order send has set aside since the login
    // (0 after it): user interface thread only.
    std::int64_t ReservedLocalOrderNo() const { return m_reserved; }
    void SetReservedLocalOrderNo(std::int64_t reserved) { m_reserved = reserved; }

private:
    TTrader m_trader{};
    OrderNo m_nextLocalOrderNo{};
    std::int64_t m_reserved = 0;
    std::atomic<bool> m_loggedIn{false};
    std::atomic<std::int32_t> m_serverTimeOffset{0};
};

}  // namespace kvt
