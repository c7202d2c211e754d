// Record texts: reading and filling fixed-width text members (a long text is cut between GBK
// characters, never inside one), and conversions between their GBK bytes and UTF-8 for showing
// texts and for filling records from UTF-8 input (bytes that do not convert become '?'). Safe to
// call from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "quorex/Export.h"

namespace quorex {

QUOREX_API std::string GbkToUtf8(std::string_view gbk);
QUOREX_API std::string Utf8ToGbk(std::string_view utf8);

// A record's fixed-width text member as stored (GBK): its bytes up to the terminator or the width.
template <std::size_t N>
std::string_view FieldText(const char (&member)[N]) {
    std::size_t length = 0;
    while (length < N && member[length] != '\0') ++length;
    return std::string_view(member, length);
}

// The length of the longest start of a GBK text that fits in `limit` bytes without cutting a
// two-byte character: a lead byte (0x81 to 0xFE) always takes the byte after it along. The text is
// walked from its start, since a trail byte can look like a lead byte. A lead byte that ends the
// text has no partner and counts as one byte.
inline std::size_t GbkFitLength(std::string_view text, std::size_t limit) {
    std::size_t length = 0;
    while (length < text.size()) {
        const unsigned char byte = static_cast<unsigned char>(text[length]);
        const bool lead = byte >= 0x81 && byte <= 0xFE && length + 1 < text.size();
        const std::size_t next = length + (lead ? 2 : 1);
        if (next > limit) break;
        length = next;
    }
    return length;
}

// Fills a record's text member: as much of the GBK text as fits in N - 1 bytes without cutting a
// character in half, the rest zero (so it is terminated).
template <std::size_t N>
void SetText(char (&member)[N], std::string_view text) {
    const std::size_t length = GbkFitLength(text, N - 1);
    for (std::size_t i = 0; i < N; ++i) member[i] = i < length ? text[i] : '\0';
}

// A record's fixed-width text member as UTF-8.
template <std::size_t N>
std::string TextOf(const char (&member)[N]) {
    return GbkToUtf8(FieldText(member));
}

}  // namespace quorex
