// Locale-independent formatting and parsing: std::to_chars formats as printf does in the "C"
// locale, and the strto*_l functions read with an explicit "C" locale.
#include "client/shell/DisplayFormats.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>

namespace kvt {

namespace {

std::string Fixed(double amount, int decimals) {
    // Large enough for the longest fixed-point double (309 digits) with sign and decimals.
    char buffer[352];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, amount, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

}  // namespace

std::string FormatWhole(double amount) { return Fixed(amount, 0); }
std::string FormatTwoDecimals(double amount) { return Fixed(amount, 2); }
std::string FormatOneDecimal(double amount) { return Fixed(amount, 1); }

std::string FormatInteger(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void ToCodeField(std::string_view text, char (&field)[11]) {
    if (text.empty()) text = "*";
    const std::size_t length = std::min<std::size_t>(text.size(), 10);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

double ParseDouble(const char* text) { return text == nullptr ? 0.0 : strtod_l(text, nullptr, CLocale()); }

std::optional<int> ParseExactInt(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

int ParseInt(const char* text) {
    if (text == nullptr) return 0;
    const long value = strtol_l(text, nullptr, 10, CLocale());
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

}  // namespace kvt
