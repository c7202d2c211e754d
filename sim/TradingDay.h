// CTradingDay: everything the exchange starts a trading day with, as loaded from a configuration
// file (TOML) or taken from the built-in demo day. Most entries are the protocol's own records, so
// that what the exchange sends is what was configured; texts are already GBK.
//
// A loaded day has been checked for consistency (unique codes, references that resolve, sane
// limits and ticks, passwords as MD5 digests), so the exchange can rely on it.
// Plain data; owned by whoever loaded it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quorex/Records.h"

namespace quorex::sim {

// Trading states, of the exchange, a market or an instrument; a state change command names the
// state to enter. Orders are taken only while all three are kTrading.
inline constexpr char kStateBeforeOpen = '0';
inline constexpr char kStateTrading = '1';
inline constexpr char kStatePaused = '2';
inline constexpr char kStateClosed = '3';
inline bool IsTradingState(char state) {
    return state == kStateBeforeOpen || state == kStateTrading || state == kStatePaused || state == kStateClosed;
}

struct CInstrumentConfig {
    TYuanQiInst info{};
    double marginRate = 0.1;  // deposit per lot: price * unit * marginRate
};

// A client's position in an instrument at the start of the day, held against deposits.
struct CPositionConfig {
    std::string clientID;
    std::string instID;
    int longPosi = 0;
    int shortPosi = 0;
    double longPrice = 0;   // average opening price; 0: the instrument's reference price
    double shortPrice = 0;
};

// The market-activity bot trades as one configured trader with one of its member's clients.
struct CBotConfig {
    std::string traderID;
    std::string clientID;
};

struct CTradingDay {
    std::string tradeDate;  // YYYYMMDD
    TExchange exchange{};
    std::vector<TMarket> markets;
    std::vector<TMember> members;
    std::vector<TClient> clients;
    std::vector<TTrader> traders;  // password: MD5 digest
    std::vector<TUser> users;      // monitor users; password: MD5 digest
    std::vector<CInstrumentConfig> instruments;
    std::vector<TYqLastQuotation> lastQuotations;
    std::vector<TMemberCapital> capitals;
    std::vector<CPositionConfig> positions;
    std::vector<TElctIndenture> indentures;
    std::vector<TVariety> varieties;
    std::vector<TCategory> categories;
    std::vector<TFactory> factories;
    std::vector<TRegion> regions;
    std::vector<TWarehouse> warehouses;
    std::vector<TTradeBulletinBoard> bulletins;
    CBotConfig bot;
    // FNV-1a digest of the configuration text the day was loaded from: a day kept on disk is
    // carried on only with the configuration it started with.
    std::uint64_t configurationDigest = 0;
};

// Parses and checks a day from TOML text; today (YYYYMMDD) is the trade date unless the text sets
// one. On failure returns nothing and sets error to a one-line explanation naming the entry.
std::optional<CTradingDay> ParseTradingDay(std::string_view toml, std::string_view sourceName,
                                           std::string_view today, std::string& error);
// The same for a file.
std::optional<CTradingDay> LoadTradingDay(const std::string& path, std::string_view today, std::string& error);
// Whether text is a trade date: a date of the calendar written YYYYMMDD (month 01-12, a day the
// month has, 29 February in leap years only). False with why set to what is wrong ("there is no
// month 13"; empty when the text is not eight digits at all).
bool IsTradeDate(std::string_view text, std::string& why);
// The built-in demo day's TOML text (see DemoDay.cpp for its traders and passwords).
std::string_view DemoDayToml();
// Today's local date as YYYYMMDD.
std::string LocalDate();

}  // namespace quorex::sim
