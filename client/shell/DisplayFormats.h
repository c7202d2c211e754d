// Number and field texts for list cells and labels, and the parsing of typed numbers. Formats
// follow the C formatting rules in the "C" locale whatever the process locale is (a toolkit may
// set the user's locale, which would turn decimal points into commas).
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "quorex/Text.h"

namespace kvt {

std::string FormatWhole(double amount);        // "%.0f": money amounts, rounded, never truncated
std::string FormatTwoDecimals(double amount);  // "%.2f"
std::string FormatOneDecimal(double amount);   // "%.1f"
std::string FormatInteger(int value);          // "%d"

// The characters of a fixed-width record text up to its first terminator, never past the field.
using quorex::FieldText;

// A 10-character code field of a query record: at most 10 characters of text, terminated; the
// empty text becomes "*", the exchange's "any".
void ToCodeField(std::string_view text, char (&field)[11]);

// Decimal text to a number as the C library reads it in the "C" locale: leading white space
// skipped, reading stops at the first character that does not fit, 0 when nothing converts (and
// for null). Integers out of range are clamped to the int range.
double ParseDouble(const char* text);
int ParseInt(const char* text);
// The whole text as a decimal integer, or nothing (empty, other characters, out of range): for
// files and command lines, where a half-read number must not pass.
std::optional<int> ParseExactInt(std::string_view text);

}  // namespace kvt
