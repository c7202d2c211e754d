// Conversions between the records' GBK texts and UTF-8, for showing texts and for filling records
// from UTF-8 input. Bytes that do not convert become '?'. Safe to call from any thread.
#pragma once

#include <string>
#include <string_view>

#include "quorex/Export.h"

namespace quorex {

QUOREX_API std::string GbkToUtf8(std::string_view gbk);
QUOREX_API std::string Utf8ToGbk(std::string_view utf8);

// A record's fixed-width text member as UTF-8 (up to its terminator or its width).
template <std::size_t N>
std::string TextOf(const char (&member)[N]) {
    std::size_t length = 0;
    while (length < N && member[length] != '\0') ++length;
    return GbkToUtf8(std::string_view(member, length));
}

}  // namespace quorex
