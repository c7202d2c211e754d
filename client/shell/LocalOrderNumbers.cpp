// CLocalOrderNumbers: formatting, parsing and the two numbers' rules.
#include "client/shell/LocalOrderNumbers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kvt {

namespace {

void CopyNumber(const std::string& text, CLoginState::OrderNo& out) {
    std::memset(out, 0, sizeof out);
    std::memcpy(out, text.data(), std::min(text.size(), sizeof out - 1));
}

}  // namespace

std::string CLocalOrderNumbers::Format(std::int64_t number) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.14lld", static_cast<long long>(number));
    return std::string(text, static_cast<std::size_t>(std::clamp(length, 0, 14)));
}

std::int64_t CLocalOrderNumbers::Parse(const char* text) {
    std::int64_t number = 0;
    for (int i = 0; i < 14 && text[i] >= '0' && text[i] <= '9'; ++i) number = number * 10 + (text[i] - '0');
    return number;
}

std::int64_t CLocalOrderNumbers::Acknowledged() const { return Parse(m_login.Trader().localOrderNo); }

std::int64_t CLocalOrderNumbers::Sent() const {
    CLoginState::OrderNo sent;
    m_login.GetNextLocalOrderNo(sent);
    return Parse(sent);
}

bool CLocalOrderNumbers::IsOrderInFlight() const {
    CLoginState::OrderNo sent;
    m_login.GetNextLocalOrderNo(sent);
    return std::strncmp(sent, m_login.Trader().localOrderNo, sizeof sent) != 0;
}

std::int64_t CLocalOrderNumbers::ReserveBatch(int count) {
    const std::int64_t base = std::max({Acknowledged(), Sent(), m_login.ReservedLocalOrderNo()});
    m_login.SetReservedLocalOrderNo(base + std::max(count, 0));
    return base;
}

void CLocalOrderNumbers::OnSent(const std::string& localOrderNo) {
    CLoginState::OrderNo sent;
    CopyNumber(localOrderNo, sent);
    m_login.SetNextLocalOrderNo(sent);
}

void CLocalOrderNumbers::OnAnswered(bool success, const char* echoed) {
    CLoginState::OrderNo number;
    if (!success) {
        // The refused order's number may go again.
        std::memcpy(number, m_login.Trader().localOrderNo, sizeof number);
        m_login.SetNextLocalOrderNo(number);
        return;
    }
    const std::int64_t sent = Sent();
    CopyNumber(std::string(echoed, strnlen(echoed, sizeof number - 1)), number);
    m_login.SetAcknowledgedLocalOrderNo(number);
    if (Parse(number) > sent) m_login.SetNextLocalOrderNo(number);
}

}  // namespace kvt
