// Fixed-width record texts and the text encoding of the wire.
//
// Record texts are GBK on the wire; the configuration file and this program's own messages are
// UTF-8, so every text that goes into a record passes through ToGbk once, when it is loaded.
// Pure functions; any thread.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace quorex::sim {

// Converts UTF-8 to GBK; nothing when the text is not valid UTF-8 or has no GBK form.
std::optional<std::string> ToGbk(std::string_view utf8);
// Converts UTF-8 to GBK for the program's own fixed texts, which are known to convert.
std::string FixedGbk(std::string_view utf8);

// The text of a record member: its characters up to the terminator.
template <std::size_t N>
std::string_view TextOf(const char (&field)[N]) {
    return {field, strnlen(field, N)};
}

// Copies at most N - 1 bytes of text into a record member and terminates it.
template <std::size_t N>
void SetText(char (&field)[N], std::string_view text) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

// True when a query filter member leaves the value open: empty, or the exchange's "any" mark "*".
inline bool IsWildcard(std::string_view filter) { return filter.empty() || filter == "*"; }
// True when value passes the filter (open filter, or equal).
inline bool Matches(std::string_view filter, std::string_view value) {
    return IsWildcard(filter) || filter == value;
}
inline bool MatchesChar(char filter, char value) { return filter == '\0' || filter == '*' || filter == value; }

}  // namespace quorex::sim
