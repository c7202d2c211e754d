// COrder: an order of the trading day as the exchange keeps it: the record that clients see and
// what the exchange holds for it until it is filled or cancelled. Plain data.
#pragma once

#include <cstdint>
#include <vector>

#include "quorex/Records.h"

namespace quorex::sim {

// What an order does, from its direction, open/offset flag and guarantee form.
enum class OrderKind {
    kOpenLongDeposit,       // 'b' '0' '1': buy a new contract against a deposit
    kOpenShortDeposit,      // 's' '0' '1': sell a new contract against a deposit
    kOpenShortIndenture,    // 's' '0' '2': sell a new contract against electronic indentures
    kCloseLong,             // 's' '1' '1': sell to transfer a long holding
    kCloseShortDeposit,     // 'b' '1' '1': buy to transfer a short holding held against a deposit
    kCloseShortIndenture,   // 'b' '1' '2': buy to transfer a short holding held against indentures
};

inline constexpr char kBuy = 'b';
inline constexpr char kSell = 's';
inline constexpr char kOpen = '0';
inline constexpr char kOffset = '1';
inline constexpr char kPledgeDeposit = '1';
inline constexpr char kPledgeIndenture = '2';

// Order states.
inline constexpr char kStatusUnmatched = 'o';
inline constexpr char kStatusPartlyMatched = 'p';
inline constexpr char kStatusMatched = 'c';
inline constexpr char kStatusCancelled = 'd';
inline constexpr char kStatusForceCancelled = 'f';

inline bool IsCancellable(char status) { return status == kStatusUnmatched || status == kStatusPartlyMatched; }

// An indenture amount an order holds frozen.
struct CIndentureFreeze {
    int indenture;  // index in the accounts' indenture list
    int amount;     // still frozen
};

struct COrder {
    TYqOrder record{};
    OrderKind kind = OrderKind::kOpenLongDeposit;
    int instrument = -1;
    int client = -1;
    int trader = -1;  // index of the placing trader
    std::int64_t priceTicks = 0;
    double frozenMargin = 0;  // deposit still frozen for the unmatched part
    std::vector<CIndentureFreeze> indentures;
};

}  // namespace quorex::sim
