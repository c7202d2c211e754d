// Key comparisons for record tables: text keys compare as zero-terminated byte strings (never
// reading past their field), byte keys as unsigned bytes, each giving exactly -1, 0 or 1; and the
// index-0 keys of the tables that the shell's pages and CClientApi use.
#pragma once

#include <cstddef>
#include <cstring>

namespace kvt {

inline int CompareBytes(unsigned char a, unsigned char b) { return a < b ? -1 : (a > b ? 1 : 0); }

template <std::size_t N>
int CompareText(const char (&a)[N], const char (&b)[N]) {
    const int order = std::strncmp(a, b, N);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// TMemberCapital: memberID, then accountType.
int CompareMemberCapitalKey(const void* a, const void* b);
// TElctIndenture: indentNo.
int CompareElctIndentureKey(const void* a, const void* b);
// TYuanQiInst: instID (the instrument table of the order entry page).
int CompareInstrumentKey(const void* a, const void* b);

}  // namespace kvt
