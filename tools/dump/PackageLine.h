// The dump's line for one stored package: sequence number, package type and name, the time it
// was stored, chain and request ID, then every record it carries with its members (texts
// converted from GBK to UTF-8 and quoted, characters in single quotes, numbers as decimals).
// Stateless; any thread.
#pragma once

#include <cstdint>
#include <string>

#include "public/XTPPackage.h"

namespace quorex::dump {

// package has been parsed successfully; time is the flow record's.
std::string PackageLine(const CXTPPackage& package, std::uint32_t time);

// A text member's bytes as the dump shows them: up to the first zero, GBK converted to UTF-8,
// in double quotes with '"', '\' and control characters escaped.
std::string QuotedText(std::string_view gbk);

}  // namespace quorex::dump
