// The login response's effect on the login state, and the server clock offset.
#include "client/shell/LoginState.h"

#include <cstring>
#include <limits>
#include <optional>

#include "quorex/Text.h"

namespace kvt {

namespace {

// Copies a record text of the same width, terminated, never reading past the source field.
template <std::size_t N>
void CopyText(char (&to)[N], const char (&from)[N]) {
    quorex::SetText(to, quorex::FieldText(from));
}

// Two decimal digits at text[at], or -1.
int TwoDigits(const char* text, std::size_t at) {
    const char high = text[at];
    const char low = text[at + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') return -1;
    return (high - '0') * 10 + (low - '0');
}

// tradeDate "YYYYMMDD" and tradeTime with hours, minutes and seconds in characters 1-2, 4-5 and
// 7-8, as local time with daylight saving left to the system; nothing when they are not digits or
// not a calendar time that exists (mktime would move Feb 30 to March: such a time is refused).
std::optional<std::time_t> LocalTradeTime(const char (&date)[9], const char (&time)[9]) {
    const int century = TwoDigits(date, 0), year = TwoDigits(date, 2), month = TwoDigits(date, 4),
              day = TwoDigits(date, 6), hour = TwoDigits(time, 0), minute = TwoDigits(time, 3),
              second = TwoDigits(time, 6);
    if (century < 0 || year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) return std::nullopt;
    std::tm fields{};
    fields.tm_year = century * 100 + year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    std::tm normalised = fields;
    const std::time_t local = std::mktime(&normalised);
    if (local == static_cast<std::time_t>(-1) || normalised.tm_year != fields.tm_year ||
        normalised.tm_mon != fields.tm_mon || normalised.tm_mday != fields.tm_mday ||
        normalised.tm_hour != fields.tm_hour || normalised.tm_min != fields.tm_min ||
        normalised.tm_sec != fields.tm_sec) {
        return std::nullopt;
    }
    return local;
}

}  // namespace

void CLoginState::ApplyLoginResponse(const TReqTraderLogin& login, std::time_t now) {
    CopyText(m_trader.traderID, login.traderID);
    CopyText(m_trader.memberID, login.memberID);
    CopyText(m_trader.password, login.password);
    CopyText(m_trader.localOrderNo, login.localOrderNo);
    CopyText(m_nextLocalOrderNo, login.localOrderNo);
    m_reserved = 0;
    m_loggedIn.store(true, std::memory_order_release);
    if (const std::optional<std::time_t> server = LocalTradeTime(login.tradeDate, login.tradeTime)) {
        const auto offset = static_cast<long long>(*server) - static_cast<long long>(now);
        if (offset >= std::numeric_limits<std::int32_t>::min() && offset <= std::numeric_limits<std::int32_t>::max()) {
            m_serverTimeOffset.store(static_cast<std::int32_t>(offset), std::memory_order_release);
        }
    }
}

void CLoginState::GetNextLocalOrderNo(OrderNo& out) const { std::memcpy(out, m_nextLocalOrderNo, sizeof(OrderNo)); }

void CLoginState::SetNextLocalOrderNo(const OrderNo& next) { CopyText(m_nextLocalOrderNo, next); }

void CLoginState::SetAcknowledgedLocalOrderNo(const OrderNo& acknowledged) {
    CopyText(m_trader.localOrderNo, acknowledged);
}

}  // namespace kvt
