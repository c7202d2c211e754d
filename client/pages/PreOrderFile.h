// The pre-order file "<directory>/<traderID>YqPreOrder.data": the parked orders of one trader,
// kept from one run of the client to the next within a trading day.
//
//   offset 0   9 bytes   trade date: 8 characters and a zero byte
//   offset 9   entries, back to back, in row order:
//              +0    128 bytes  the TYqOrder record as it lies in memory (orderNo holds the
//                               8-digit pre-order number; padding written as zero bytes)
//              +128    4 bytes  n, little-endian: indenture entries that follow, the ending entry
//                               (empty indentNo) included; 1 for a deposit order
//              +132  32 x n     the TYqFrznElctIndenture records as they lie in memory
//
// A file of another trading day, or shorter than its date, holds nothing for today. Reading stops
// at the first entry that is cut short or damaged (an n below 1, an n larger than the bytes left,
// a list without its ending entry), so what comes before it is kept and nothing is allocated from
// an untrusted count. Writing goes to "<name>.tmp", which is then renamed over the file, so a
// write that fails half-way leaves the previous file as it was.
//
// Thread contract: none; the pre-order page calls these on the user interface thread.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "quorex/Records.h"

namespace kvt {

// A parked order and its indenture list, which ends with the one entry whose indentNo is empty.
struct CParkedOrder {
    TYqOrder order;
    std::vector<TYqFrznElctIndenture> indentures;
};

inline constexpr char kPreOrderFilePattern[] = "%sYqPreOrder.data";
inline constexpr std::size_t kPreOrderDateBytes = 9;
inline constexpr std::size_t kPreOrderCountBytes = 4;

// The file of this trader in this directory. The trader ID comes from the exchange; whatever it
// holds, the name stays inside the directory.
std::string PreOrderFilePath(std::string_view directory, const char* traderID);

// Cuts the list after its first entry with an empty indentNo, or appends an empty ending entry
// when it has none, so that every list handed to the library or written to the file is ended.
void EndIndentureList(std::vector<TYqFrznElctIndenture>& indentures);

// The file image of these orders (each list already ended) for this trade date.
std::string EncodePreOrderFile(std::string_view tradeDate, std::span<const CParkedOrder* const> orders);
// The orders of an image written on tradeDate (8 characters); none for another date, an empty
// date or an image shorter than its header. Texts of the records read are terminated.
std::vector<CParkedOrder> DecodePreOrderFile(std::string_view image, std::string_view tradeDate);

// The whole file; nothing when it cannot be opened or read.
std::optional<std::string> ReadPreOrderFile(const std::string& path);
// Writes the image to path + ".tmp" and renames it over path. False when any step fails, in which
// case the file at path is untouched.
bool ReplacePreOrderFile(const std::string& path, std::string_view image);

}  // namespace kvt
