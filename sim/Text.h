// Fixed-width record texts, query filters and password digests. Record texts are GBK on the
// wire; the configuration file and this program's own messages are UTF-8 and are converted with
// the library's Utf8ToGbk once, when they are loaded. Pure functions; any thread.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "quorex/Text.h"

namespace quorex::sim {

// Record texts are read and filled with quorex::FieldText and quorex::SetText (quorex/Text.h).

// True when a query filter member leaves the value open: empty, or the exchange's "any" mark "*".
inline bool IsWildcard(std::string_view filter) { return filter.empty() || filter == "*"; }
// True when value passes the filter (open filter, or equal).
inline bool Matches(std::string_view filter, std::string_view value) {
    return IsWildcard(filter) || filter == value;
}
inline bool MatchesChar(char filter, char value) { return filter == '\0' || filter == '*' || filter == value; }

// True for a password as the exchange keeps it: an MD5 digest as 32 lower-case hexadecimal digits.
inline bool IsMd5Hex(std::string_view text) {
    return text.size() == 32 &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

}  // namespace quorex::sim
