// The consistency checks of a loaded trading day (unique codes, references that resolve, sane
// limits and ticks, passwords as digests), and the keys each kind of configuration entry must
// have. Messages name the entry as the file does ("[[instrument]] entry 3 ('000002')") and the
// key at fault. Pure functions; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/TradingDay.h"

namespace quorex::sim {

// The keys every entry of an array of tables must have (none for the reference data).
std::vector<std::string_view> RequiredKeys(std::string_view array);

// "[[key]] entry N" (N from 1) and, when the entry has its code, " ('code')".
std::string EntryName(std::string_view key, std::size_t index, std::string_view code = {});

// False with error set to one line naming the entry and the key.
bool CheckDay(const CTradingDay& day, std::string& error);

}  // namespace quorex::sim
