#include "sim/TradingDayChecks.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "quorex/Text.h"
#include "sim/Text.h"

namespace quorex::sim {
namespace {

bool WithinLimits(double price, const TYuanQiInst& info) { return price >= info.lowerLimit && price <= info.upperLimit; }

bool IsOnTick(double price, double tick) {
    const double steps = price / tick;
    return std::fabs(steps - std::round(steps)) < 1e-6;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Every entry of list has a code under key (the key is checked for presence on loading) that no
// other entry has.
template <class Record, class Code>
bool Unique(const std::vector<Record>& list, Code code, const char* array, const char* key, std::string& error) {
    std::map<std::string, std::size_t> seen;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string value(code(list[i]));
        if (value.empty()) return error = EntryName(array, i) + ": '" + key + "' is empty", false;
        const auto [first, added] = seen.emplace(value, i);
        if (!added) {
            error = EntryName(array, i) + ": '" + key + "' \"" + GbkToUtf8(value) + "\" is defined twice (also by entry " +
                    std::to_string(first->second + 1) + ")";
            return false;
        }
    }
    return true;
}

template <class Record, class Code>
bool Contains(const std::vector<Record>& list, Code code, std::string_view value) {
    return std::any_of(list.begin(), list.end(), [&](const Record& record) { return code(record) == value; });
}

const auto kMarketId = [](const TMarket& m) { return FieldText(m.marketID); };
const auto kMemberId = [](const TMember& m) { return FieldText(m.memberID); };
const auto kClientId = [](const TClient& c) { return FieldText(c.clientID); };
const auto kInstId = [](const CInstrumentConfig& i) { return FieldText(i.info.instID); };

bool CheckCodes(const CTradingDay& day, std::string& error) {
    return Unique(day.markets, kMarketId, "market", "marketID", error) && Unique(day.members, kMemberId, "member", "memberID", error) &&
           Unique(day.clients, kClientId, "client", "clientID", error) &&
           Unique(day.traders, [](const TTrader& t) { return FieldText(t.traderID); }, "trader", "traderID", error) &&
           Unique(day.users, [](const TUser& u) { return FieldText(u.userID); }, "user", "userID", error) &&
           Unique(day.instruments, kInstId, "instrument", "instID", error) &&
           Unique(day.indentures, [](const TElctIndenture& e) { return FieldText(e.indentNo); }, "indenture", "indentNo", error);
}

bool CheckParties(const CTradingDay& day, std::string& error) {
    for (std::size_t i = 0; i < day.markets.size(); ++i) {
        if (!IsTradingState(day.markets[i].marketState))
            return error = EntryName("market", i, kMarketId(day.markets[i])) + ": 'marketState' must be 0, 1, 2 or 3", false;
    }
    for (std::size_t i = 0; i < day.clients.size(); ++i) {
        const TClient& client = day.clients[i];
        const std::string entry = EntryName("client", i, kClientId(client));
        if (!Contains(day.members, kMemberId, FieldText(client.memberID)))
            return error = entry + ": 'memberID' names an unknown member", false;
        if (client.accountType != '0' && client.accountType != '1') return error = entry + ": 'accountType' must be 0 or 1", false;
    }
    for (std::size_t i = 0; i < day.traders.size(); ++i) {
        const TTrader& trader = day.traders[i];
        const std::string entry = EntryName("trader", i, FieldText(trader.traderID));
        if (!Contains(day.members, kMemberId, FieldText(trader.memberID)))
            return error = entry + ": 'memberID' names an unknown member", false;
        if (!IsMd5Hex(FieldText(trader.password))) return error = entry + ": 'plainPassword' (or 'password') is missing", false;
    }
    for (std::size_t i = 0; i < day.users.size(); ++i) {
        if (!IsMd5Hex(FieldText(day.users[i].password)))
            return error = EntryName("user", i, FieldText(day.users[i].userID)) + ": 'plainPassword' (or 'password') is missing", false;
    }
    return true;
}

bool CheckInstruments(const CTradingDay& day, std::string& error) {
    for (std::size_t i = 0; i < day.instruments.size(); ++i) {
        const CInstrumentConfig& instrument = day.instruments[i];
        const TYuanQiInst& info = instrument.info;
        const auto fail = [&](const char* why) { return error = EntryName("instrument", i, kInstId(instrument)) + ": " + why, false; };
        if (FieldText(info.yqInstID).empty()) return fail("'yqInstID' is empty");
        if (!Contains(day.markets, kMarketId, FieldText(info.marketID))) return fail("'marketID' names an unknown market");
        if (!(info.tick > 0)) return fail("'tick' must be above 0");
        if (!(info.lowerLimit > 0) || !(info.upperLimit >= info.lowerLimit)) return fail("needs 0 < lowerLimit <= upperLimit");
        if (!IsOnTick(info.lowerLimit, info.tick) || !IsOnTick(info.upperLimit, info.tick)) return fail("limits must be on the tick");
        if (info.unit < 1 || info.minHand < 1 || info.maxHand < info.minHand) return fail("needs unit >= 1 and 1 <= minHand <= maxHand");
        if (!IsTradingState(info.tradeState)) return fail("'tradeState' must be 0, 1, 2 or 3");
        if (!(instrument.marginRate > 0) || instrument.marginRate > 1) return fail("'marginRate' must be in (0, 1]");
        // 0 leaves the reference price unset; any other must be a price the day can trade at.
        if (info.refPrice != 0 && !WithinLimits(info.refPrice, info)) return fail("'refPrice' must lie within lowerLimit..upperLimit");
    }
    for (std::size_t i = 0; i < day.lastQuotations.size(); ++i) {
        const TYqLastQuotation& quotation = day.lastQuotations[i];
        const std::string id(FieldText(quotation.instID));
        const std::string entry = EntryName("last_quotation", i, id);
        const auto instrument = std::find_if(day.instruments.begin(), day.instruments.end(),
                                             [&](const CInstrumentConfig& config) { return kInstId(config) == id; });
        if (instrument == day.instruments.end()) return error = entry + ": 'instID' names an unknown instrument", false;
        // The previous day's average is the day's reference (its price changes are measured from it).
        if (quotation.average != 0 && !WithinLimits(quotation.average, instrument->info))
            return error = entry + ": 'average' must lie within the instrument's lowerLimit..upperLimit", false;
    }
    return true;
}

bool CheckHoldings(const CTradingDay& day, std::string& error) {
    for (std::size_t i = 0; i < day.capitals.size(); ++i) {
        const TMemberCapital& capital = day.capitals[i];
        const std::string entry = EntryName("capital", i, FieldText(capital.memberID));
        if (!Contains(day.members, kMemberId, FieldText(capital.memberID))) return error = entry + ": 'memberID' names an unknown member", false;
        if (capital.accountType != '0' && capital.accountType != '1') return error = entry + ": 'accountType' must be 0 or 1", false;
    }
    for (std::size_t i = 0; i < day.positions.size(); ++i) {
        const CPositionConfig& position = day.positions[i];
        const std::string entry = EntryName("position", i);
        if (!Contains(day.clients, kClientId, position.clientID))
            return error = entry + ": 'clientID' names an unknown client '" + position.clientID + "'", false;
        if (!Contains(day.instruments, kInstId, position.instID))
            return error = entry + ": 'instID' names an unknown instrument '" + position.instID + "'", false;
        if (position.longPosi < 0 || position.shortPosi < 0) return error = entry + ": position amounts must not be negative", false;
    }
    for (std::size_t i = 0; i < day.indentures.size(); ++i) {
        const TElctIndenture& indenture = day.indentures[i];
        const std::string entry = EntryName("indenture", i, FieldText(indenture.indentNo));
        const auto owner = std::find_if(day.clients.begin(), day.clients.end(),
                                        [&](const TClient& c) { return kClientId(c) == FieldText(indenture.clientID); });
        if (owner == day.clients.end() || FieldText(owner->memberID) != FieldText(indenture.memberID))
            return error = entry + ": 'clientID' names no client of the entry's member", false;
        if (indenture.avaAmount < 0 || indenture.ocuAmountYq != 0 || indenture.frznYqOpen != 0 || indenture.frznYqOffset != 0)
            return error = entry + ": the day starts with avaAmount >= 0 and nothing frozen or occupied", false;
    }
    return true;
}

bool CheckBot(const CTradingDay& day, std::string& error) {
    if (day.bot.traderID.empty()) return true;
    const auto trader = std::find_if(day.traders.begin(), day.traders.end(),
                                     [&](const TTrader& t) { return FieldText(t.traderID) == day.bot.traderID; });
    const auto client = std::find_if(day.clients.begin(), day.clients.end(), [&](const TClient& c) { return kClientId(c) == day.bot.clientID; });
    if (trader == day.traders.end()) return error = "[bot]: 'traderID' names no configured trader", false;
    if (client == day.clients.end() || FieldText(client->memberID) != FieldText(trader->memberID))
        return error = "[bot]: 'clientID' names no client of the trader's member", false;
    return true;
}

}  // namespace

bool IsTradeDate(std::string_view text, std::string& why) {
    why.clear();
    if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    const auto number = [&](std::size_t at, std::size_t digits) {
        int value = 0;
        for (std::size_t k = at; k < at + digits; ++k) value = value * 10 + (text[k] - '0');
        return value;
    };
    const int year = number(0, 4), month = number(4, 2), day = number(6, 2);
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    static constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                              "July",    "August",   "September", "October", "November", "December"};
    if (year == 0) return why = "there is no year 0000", false;
    if (month < 1 || month > 12) return why = "there is no month " + std::string(text.substr(4, 2)), false;
    const int days = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    if (day < 1 || day > days) {
        why = std::string(kMonths[month - 1]) + " " + std::string(text.substr(0, 4)) + " has days 01 to " + std::to_string(days);
        return false;
    }
    return true;
}

std::vector<std::string_view> RequiredKeys(std::string_view array) {
    if (array == "market") return {"marketID", "marketState"};
    if (array == "member") return {"memberID"};
    if (array == "client") return {"clientID", "memberID", "accountType"};
    if (array == "trader") return {"traderID", "memberID"};
    if (array == "user") return {"userID"};
    if (array == "instrument")
        return {"instID", "yqInstID", "marketID", "unit", "tick", "minHand", "maxHand", "lowerLimit", "upperLimit", "tradeState"};
    if (array == "last_quotation") return {"instID"};
    if (array == "capital") return {"memberID", "accountType"};
    if (array == "position") return {"clientID", "instID"};
    if (array == "indenture") return {"indentNo", "clientID", "memberID"};
    return {};
}

std::string EntryName(std::string_view key, std::size_t index, std::string_view code) {
    std::string name = "[[" + std::string(key) + "]] entry " + std::to_string(index + 1);
    if (!code.empty()) name += " ('" + GbkToUtf8(code) + "')";
    return name;
}

bool CheckDay(const CTradingDay& day, std::string& error) {
    std::string why;
    if (!IsTradeDate(day.tradeDate, why)) {
        return error = "trade_date: " + day.tradeDate + " is not a date YYYYMMDD" + (why.empty() ? "" : " (" + why + ")"), false;
    }
    if (FieldText(day.exchange.exchangeID).empty()) return error = "[exchange]: 'exchangeID' is missing", false;
    if (!IsTradingState(day.exchange.state)) return error = "[exchange]: 'state' must be 0, 1, 2 or 3", false;
    return CheckCodes(day, error) && CheckParties(day, error) && CheckInstruments(day, error) && CheckHoldings(day, error) &&
           CheckBot(day, error);
}

}  // namespace quorex::sim
