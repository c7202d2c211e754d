// Record texts: reading and filling fixed-width text members, and conversions between their GBK
// bytes and UTF-8 for showing texts and for filling records from UTF-8 input (bytes that do not
// convert become '?'). Safe to call from any thread.
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

// Fills a record's text member: at most N - 1 bytes of text, the rest zero (so it is terminated).
template <std::size_t N>
void SetText(char (&member)[N], std::string_view text) {
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    for (std::size_t i = 0; i < N; ++i) member[i] = i < length ? text[i] : '\0';
}

// A record's fixed-width text member as UTF-8.
template <std::size_t N>
std::string TextOf(const char (&member)[N]) {
    return GbkToUtf8(FieldText(member));
}

}  // namespace quorex
