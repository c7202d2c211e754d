// Reads a trading day from TOML: each array of tables fills one list of records, key by member
// name (see RecordFields.h), then the whole day is checked for consistency.
#include <toml++/toml.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"
#include "sim/Digest.h"
#include "sim/RecordFields.h"
#include "sim/Text.h"
#include "sim/TradingDay.h"
#include "sim/TradingDayChecks.h"

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
    const std::vector<std::string_view> required = RequiredKeys(key);
    for (std::size_t i = 0; i < array->size(); ++i) {
        const toml::table* table = (*array)[i].as_table();
        Item item{};
        const auto missing = [&]() {
            const auto absent = std::find_if(required.begin(), required.end(), [&](std::string_view name) { return !table->contains(name); });
            if (absent != required.end()) error = "'" + std::string(*absent) + "' is missing";
            return absent != required.end();
        };
        if (table == nullptr || missing() || !fill(*table, item, error)) {
            if (table == nullptr) error = "entry is not a table";
            error = EntryName(key, i) + ": " + error;
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
        for (const char* key : {"exchangeID", "state"}) {
            if (!exchange->contains(key)) return why = "[exchange]: '" + std::string(key) + "' is missing", failed();
        }
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
    day.configurationDigest = Fnv1a64(text);
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
