// CExchangeState: the trading day as the exchange keeps it, shared by the exchange's parts
// (logins, orders, queries, monitor controls): the configured day, the accounts, the traders and
// monitor users, the instruments with their books and quotations, today's orders and matches and
// the sequenced flows. CExchangeSession is what the exchange knows about one connection.
//
// Thread contract: one thread (the exchange's). Owned by CExchange; the parts borrow it.
#pragma once

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "sim/Accounts.h"
#include "sim/Order.h"
#include "sim/OrderBook.h"
#include "sim/SequencedFlow.h"
#include "sim/TradingDay.h"

namespace quorex::sim {

enum class Role { kNone, kTrader, kMonitor };

struct CFlowCursor {
    const CSequencedFlow* flow = nullptr;
    std::uint32_t next = 1;       // number of the next package to hand out
    std::uint32_t catchUpTo = 0;  // the flow's last number at login
};

struct CExchangeSession {
    Role role = Role::kNone;
    int user = -1;  // index of the trader or the monitor user
    CFlowCursor cursors[3];  // private, member, market
    bool sendOverPending = false;
};

struct CTraderState {
    TTrader record{};
    int member = -1;
    long long lastLocalOrderNo = 0;
    char lastLocalOrderText[15] = "00000000000000";
    bool online = false;
    std::uint32_t session = 0;
    std::unique_ptr<CSequencedFlow> privateFlow;
};

struct CUserState {
    TUser record{};
    bool online = false;
    std::uint32_t session = 0;
};

struct CInstrumentState {
    TYqQuotation quotation{};
    COrderBook book;
};

class CExchangeState {
public:
    explicit CExchangeState(CTradingDay configured);
    CExchangeState(const CExchangeState&) = delete;
    CExchangeState& operator=(const CExchangeState&) = delete;

    int FindInstrument(std::string_view instID) const;
    int FindTrader(std::string_view traderID) const;
    int FindUser(std::string_view userID) const;
    int FindMarket(std::string_view marketID) const;
    CSequencedFlow& MemberFlow(int member) { return *memberFlows[member]; }
    // Writes the time of the request being handled into a record's time member.
    void Stamp(char (&time)[9]) const { std::memcpy(time, now, sizeof now); }

    CTradingDay day;
    CAccounts accounts;
    std::vector<CTraderState> traders;
    std::vector<CUserState> users;
    std::vector<CInstrumentState> instruments;
    std::vector<COrder> orders;    // today's orders; an order's ID is its index
    std::vector<TYqMatch> matches;  // today's matches, one record per side
    std::uint32_t matchCount = 0;
    std::vector<std::unique_ptr<CSequencedFlow>> memberFlows;  // per member
    CSequencedFlow marketFlow{4};
    CSequencedFlow monitorPrivateFlow{3};
    CSequencedFlow monitorMemberFlow{2};
    // The time of day of the request being handled: read once per request, so that a replay of
    // the request (with its journaled time) gives every record it produced again byte for byte.
    char now[9] = "00:00:00";
};

}  // namespace quorex::sim
