// Reads a trading day from TOML: each array of tables fills one list of records, key by member
// name (see RecordFields.h), then the whole day is checked for consistency.
#include <toml++/toml.h>

#include <cmath>
#include <ctime>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"
#include "sim/RecordFields.h"
#include "sim/Text.h"
#include "sim/TradingDay.h"

namespace quorex::sim {
namespace {

// Handles a key that is not a record member (a plain password, a margin rate); returns false when
// the key is not one of its own.
using ExtraKey = std::function<bool(std::string_view key, const CFieldValue& value, std::string& error)>;

bool ToFieldValue(const toml::node& node, CFieldValue& value, std::string& error) {
    if (const auto* text = node.as_string()) {
        value.kind = CFieldValue::Kind::kText;
        value.text = Utf8ToGbk(text->get());
        // Utf8ToGbk turns what GBK cannot express into '?', so such a text does not come back.
        if (GbkToUtf8(value.text) != text->get()) {
            error = "the text cannot be expressed in GBK";
            return false;
        }
        return true;
    }
    if (const auto* integer = node.as_integer()) {
        value.kind = CFieldValue::Kind::kInteger;
        value.integer = integer->get();
        return true;
    }
    if (const auto* number = node.as_floating_point()) {
        value.kind = CFieldValue::Kind::kFloat;
        value.number = number->get();
        return true;
    }
    error = "values are texts or numbers";
    return false;
}

template <class Record>
bool ReadTable(const toml::table& table, Record& record, const ExtraKey& extra, std::string& error) {
    for (auto&& [key, node] : table) {
        const std::string_view name = key.str();
        CFieldValue value;
        if (!ToFieldValue(node, value, error)) {
            error = "'" + std::string(name) + "': " + error;
            return false;
        }
        std::string extraError;
        if (extra && extra(name, value, extraError)) {
            if (!extraError.empty()) {
                error = extraError;
                return false;
            }
            continue;
        }
        if (!SetMember(record, name, value, error)) return false;
    }
    return true;
}

// Reads the array of tables called key into out, one item per table, filled by
// fill(table, item, error).
template <class Item, class Fill>
bool ReadArray(const toml::table& root, const char* key, std::vector<Item>& out, Fill fill, std::string& error) {
    const toml::node* node = root.get(key);
    if (node == nullptr) return true;
    const toml::array* array = node->as_array();
    if (array == nullptr) {
        error = std::string("'") + key + "' must be an array of tables ([[" + key + "]])";
        return false;
    }
    for (std::size_t i = 0; i < array->size(); ++i) {
        const toml::table* table = (*array)[i].as_table();
        Item item{};
        if (table == nullptr || !fill(*table, item, error)) {
            if (table == nullptr) error = "entry is not a table";
            error = std::string("[[") + key + "]] entry " + std::to_string(i + 1) + ": " + error;
            return false;
        }
        out.push_back(std::move(item));
    }
    return true;
}

template <class Record>
bool ReadRecords(const toml::table& root, const char* key, std::vector<Record>& out, std::string& error) {
    return ReadArray(root, key, out, [](const toml::table& table, Record& record, std::string& why) {
        return ReadTable(table, record, {}, why);
    }, error);
}

bool ReadPosition(const toml::table& table, CPositionConfig& position, std::string& error) {
    static const std::set<std::string_view> kKeys = {"clientID", "instID", "longPosi", "shortPosi", "longPrice", "shortPrice"};
    for (auto&& [key, node] : table) {
        if (!kKeys.contains(key.str())) return error = "unknown key '" + std::string(key.str()) + "'", false;
    }
    position.clientID = table["clientID"].value_or(std::string());
    position.instID = table["instID"].value_or(std::string());
    position.longPosi = table["longPosi"].value_or(0);
    position.shortPosi = table["shortPosi"].value_or(0);
    position.longPrice = table["longPrice"].value_or(0.0);
    position.shortPrice = table["shortPrice"].value_or(0.0);
    return true;
}

bool IsDate(std::string_view text) {
    return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool WithinLimits(double price, const TYuanQiInst& info) { return price >= info.lowerLimit && price <= info.upperLimit; }

bool IsOnTick(double price, double tick) {
    const double steps = price / tick;
    return std::fabs(steps - std::round(steps)) < 1e-6;
}

template <class Record, class Key>
bool Unique(const std::vector<Record>& list, Key key, const char* what, std::string& error) {
    std::set<std::string> seen;
    for (const Record& record : list) {
        const std::string value(key(record));
        if (value.empty()) {
            error = std::string(what) + ": an entry has no code";
            return false;
        }
        if (!seen.insert(value).second) {
            error = std::string(what) + " '" + value + "' is defined twice";
            return false;
        }
    }
    return true;
}

template <class Record, class Key>
bool Contains(const std::vector<Record>& list, Key key, std::string_view value) {
    return std::any_of(list.begin(), list.end(), [&](const Record& record) { return key(record) == value; });
}

bool CheckDay(const CTradingDay& day, std::string& error) {
    if (!IsDate(day.tradeDate)) return error = "trade_date must be YYYYMMDD", false;
    if (FieldText(day.exchange.exchangeID).empty()) return error = "[exchange] needs an exchangeID", false;
    if (!IsTradingState(day.exchange.state)) return error = "[exchange] state must be 0, 1, 2 or 3", false;

    const auto marketId = [](const TMarket& m) { return FieldText(m.marketID); };
    const auto memberId = [](const TMember& m) { return FieldText(m.memberID); };
    const auto clientId = [](const TClient& c) { return FieldText(c.clientID); };
    const auto instId = [](const CInstrumentConfig& i) { return FieldText(i.info.instID); };
    if (!Unique(day.markets, marketId, "market", error) || !Unique(day.members, memberId, "member", error) ||
        !Unique(day.clients, clientId, "client", error) ||
        !Unique(day.traders, [](const TTrader& t) { return FieldText(t.traderID); }, "trader", error) ||
        !Unique(day.users, [](const TUser& u) { return FieldText(u.userID); }, "user", error) ||
        !Unique(day.instruments, instId, "instrument", error) ||
        !Unique(day.indentures, [](const TElctIndenture& e) { return FieldText(e.indentNo); }, "indenture", error)) {
        return false;
    }
    for (const TMarket& market : day.markets) {
        if (!IsTradingState(market.marketState)) return error = "market '" + std::string(marketId(market)) + "': marketState must be 0..3", false;
    }
    for (const TClient& client : day.clients) {
        if (!Contains(day.members, memberId, FieldText(client.memberID)))
            return error = "client '" + std::string(clientId(client)) + "' names an unknown member", false;
        if (client.accountType != '0' && client.accountType != '1')
            return error = "client '" + std::string(clientId(client)) + "': accountType must be 0 or 1", false;
    }
    for (const TTrader& trader : day.traders) {
        const std::string id(FieldText(trader.traderID));
        if (!Contains(day.members, memberId, FieldText(trader.memberID))) return error = "trader '" + id + "' names an unknown member", false;
        if (!IsMd5Hex(FieldText(trader.password))) return error = "trader '" + id + "' has no password", false;
    }
    for (const TUser& user : day.users) {
        if (!IsMd5Hex(FieldText(user.password))) return error = "user '" + std::string(FieldText(user.userID)) + "' has no password", false;
    }
    for (const CInstrumentConfig& instrument : day.instruments) {
        const TYuanQiInst& info = instrument.info;
        const std::string id(FieldText(info.instID));
        const auto fail = [&](const char* why) { return error = "instrument '" + id + "': " + why, false; };
        if (FieldText(info.yqInstID).empty()) return fail("needs a yqInstID");
        if (!Contains(day.markets, marketId, FieldText(info.marketID))) return fail("names an unknown market");
        if (!(info.tick > 0)) return fail("tick must be above 0");
        if (!(info.lowerLimit > 0) || !(info.upperLimit >= info.lowerLimit)) return fail("needs 0 < lowerLimit <= upperLimit");
        if (!IsOnTick(info.lowerLimit, info.tick) || !IsOnTick(info.upperLimit, info.tick)) return fail("limits must be on the tick");
        if (info.unit < 1 || info.minHand < 1 || info.maxHand < info.minHand) return fail("needs unit >= 1 and 1 <= minHand <= maxHand");
        if (!IsTradingState(info.tradeState)) return fail("tradeState must be 0..3");
        if (!(instrument.marginRate > 0) || instrument.marginRate > 1) return fail("marginRate must be in (0, 1]");
        // 0 leaves the reference price unset; any other must be a price the day can trade at.
        if (info.refPrice != 0 && !WithinLimits(info.refPrice, info)) return fail("refPrice must lie within lowerLimit..upperLimit");
    }
    for (const TYqLastQuotation& quotation : day.lastQuotations) {
        const std::string id(FieldText(quotation.instID));
        const auto instrument = std::find_if(day.instruments.begin(), day.instruments.end(),
                                             [&](const CInstrumentConfig& i) { return instId(i) == id; });
        if (instrument == day.instruments.end()) return error = "last_quotation names an unknown instrument '" + id + "'", false;
        // The previous day's average is the day's reference (its price changes are measured from it).
        if (quotation.average != 0 && !WithinLimits(quotation.average, instrument->info))
            return error = "last_quotation '" + id + "': average must lie within the instrument's lowerLimit..upperLimit", false;
    }
    for (const TMemberCapital& capital : day.capitals) {
        if (!Contains(day.members, memberId, FieldText(capital.memberID))) return error = "capital names an unknown member", false;
        if (capital.accountType != '0' && capital.accountType != '1') return error = "capital: accountType must be 0 or 1", false;
    }
    for (const CPositionConfig& position : day.positions) {
        if (!Contains(day.clients, clientId, position.clientID)) return error = "position names an unknown client '" + position.clientID + "'", false;
        if (!Contains(day.instruments, instId, position.instID)) return error = "position names an unknown instrument '" + position.instID + "'", false;
        if (position.longPosi < 0 || position.shortPosi < 0) return error = "position amounts must not be negative", false;
    }
    for (const TElctIndenture& indenture : day.indentures) {
        const std::string id(FieldText(indenture.indentNo));
        const auto owner = std::find_if(day.clients.begin(), day.clients.end(),
                                        [&](const TClient& c) { return clientId(c) == FieldText(indenture.clientID); });
        if (owner == day.clients.end() || FieldText(owner->memberID) != FieldText(indenture.memberID))
            return error = "indenture '" + id + "' names an unknown client of its member", false;
        if (indenture.avaAmount < 0 || indenture.ocuAmountYq != 0 || indenture.frznYqOpen != 0 || indenture.frznYqOffset != 0)
            return error = "indenture '" + id + "': the day starts with avaAmount >= 0 and nothing frozen or occupied", false;
    }
    if (!day.bot.traderID.empty()) {
        const auto trader = std::find_if(day.traders.begin(), day.traders.end(),
                                         [&](const TTrader& t) { return FieldText(t.traderID) == day.bot.traderID; });
        const auto client = std::find_if(day.clients.begin(), day.clients.end(),
                                         [&](const TClient& c) { return clientId(c) == day.bot.clientID; });
        if (trader == day.traders.end() || client == day.clients.end() || FieldText(client->memberID) != FieldText(trader->memberID))
            return error = "[bot] needs a configured trader and a client of the trader's member", false;
    }
    return true;
}

}  // namespace

std::optional<CTradingDay> ParseTradingDay(std::string_view text, std::string_view sourceName, std::string_view today,
                                           std::string& error) {
    toml::table root;
    try {
        root = toml::parse(text, sourceName);
    } catch (const toml::parse_error& failure) {
        std::ostringstream message;
        message << sourceName << ":" << failure.source().begin.line << ": " << failure.description();
        error = message.str();
        return std::nullopt;
    }

    static const std::set<std::string_view> kKnownKeys = {
        "trade_date", "exchange", "market",   "member",  "client",   "trader", "user",      "instrument", "last_quotation",
        "capital",    "position", "indenture", "variety", "category", "factory", "region",   "warehouse",  "bulletin", "bot"};
    for (auto&& [key, node] : root) {
        if (!kKnownKeys.contains(key.str())) {
            error = std::string(sourceName) + ": unknown key '" + std::string(key.str()) + "'";
            return std::nullopt;
        }
    }

    CTradingDay day;
    day.tradeDate = root["trade_date"].value_or(std::string(today));
    std::string why;
    const auto failed = [&]() {
        error = std::string(sourceName) + ": " + why;
        return std::nullopt;
    };

    if (const toml::table* exchange = root["exchange"].as_table()) {
        if (!ReadTable(*exchange, day.exchange, {}, why)) return why = "[exchange]: " + why, failed();
    }
    // Passwords: a plain one is hashed, a stored one must already be a digest.
    std::string password;
    const ExtraKey passwordKey = [&](std::string_view key, const CFieldValue& value, std::string& message) {
        if (key != "plainPassword" && key != "password") return false;
        if (value.kind != CFieldValue::Kind::kText) {
            message = "'" + std::string(key) + "' must be a text";
        } else if (key == "plainPassword") {
            password = quorex::PasswordDigest(value.text);
        } else if (!IsMd5Hex(value.text)) {
            message = "'password' must be an MD5 digest (32 lower-case hexadecimal digits); use plainPassword for a plain one";
        } else {
            password = value.text;
        }
        return true;
    };
    const auto withPassword = [&](const toml::table& table, auto& record, std::string& message) {
        password.clear();
        if (!ReadTable(table, record, passwordKey, message)) return false;
        SetText(record.password, password);
        return true;
    };
    const ExtraKey marginRateKey = [](std::string_view key, const CFieldValue& value, std::string& message) {
        if (key != "marginRate") return false;
        if (value.kind == CFieldValue::Kind::kText) message = "'marginRate' must be a number";
        return true;
    };
    const auto instrument = [&](const toml::table& table, CInstrumentConfig& item, std::string& message) {
        if (!ReadTable(table, item.info, marginRateKey, message)) return false;
        item.marginRate = table["marginRate"].value_or(item.marginRate);
        return true;
    };

    if (!ReadArray(root, "trader", day.traders, withPassword, why) || !ReadArray(root, "user", day.users, withPassword, why) ||
        !ReadArray(root, "instrument", day.instruments, instrument, why) ||
        !ReadArray(root, "position", day.positions, ReadPosition, why) ||
        !ReadRecords(root, "market", day.markets, why) || !ReadRecords(root, "member", day.members, why) ||
        !ReadRecords(root, "client", day.clients, why) || !ReadRecords(root, "last_quotation", day.lastQuotations, why) ||
        !ReadRecords(root, "capital", day.capitals, why) || !ReadRecords(root, "indenture", day.indentures, why) ||
        !ReadRecords(root, "variety", day.varieties, why) || !ReadRecords(root, "category", day.categories, why) ||
        !ReadRecords(root, "factory", day.factories, why) || !ReadRecords(root, "region", day.regions, why) ||
        !ReadRecords(root, "warehouse", day.warehouses, why) || !ReadRecords(root, "bulletin", day.bulletins, why)) {
        return failed();
    }
    if (const toml::table* bot = root["bot"].as_table()) {
        day.bot.traderID = (*bot)["traderID"].value_or(std::string());
        day.bot.clientID = (*bot)["clientID"].value_or(std::string());
    }

    if (!CheckDay(day, why)) return failed();
    day.configurationDigest = 0xcbf29ce484222325ULL;
    for (const char c : text) day.configurationDigest = (day.configurationDigest ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    return day;
}

std::optional<CTradingDay> LoadTradingDay(const std::string& path, std::string_view today, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseTradingDay(text.str(), path, today, error);
}

std::string LocalDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d", &local);
    return text;
}

}  // namespace quorex::sim
