// CMarketBot: market activity for demonstrations. Trading as the day's bot trader with its
// client, it places orders around the quotations, now and then takes the best bid or offer so
// that matches happen and prices move, and cancels its oldest orders so that its book stays
// small. It transfers holdings it has before it opens new ones.
//
// Thread contract: Step runs on the thread that drives the exchange. The exchange is borrowed.
#pragma once

#include <cstdint>
#include <deque>
#include <random>

#include "public/XTPPackage.h"
#include "sim/Exchange.h"

namespace quorex::sim {

class CMarketBot {
public:
    // The bot's requests come from session, which must not belong to a connection.
    CMarketBot(CExchange& exchange, SessionId session, std::uint32_t seed);

    // One action: logs in when needed, then places one order or cancels one.
    void Step();

private:
    // At most this many orders of the bot rest in the books.
    static constexpr std::size_t kMaxRestingOrders = 12;

    bool LogIn();
    void CancelOldest();
    void Place(int instrument, bool aggressive);
    int Available(int instrument, bool closingLong) const;
    int Random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    CExchange& m_exchange;
    const SessionId m_session;
    std::mt19937 m_random;
    long long m_localOrderNo = 0;
    std::deque<std::size_t> m_orders;  // IDs of the bot's orders that may still rest
    CXTPPackage m_build;
    CXTPPackage m_request;
};

}  // namespace quorex::sim
