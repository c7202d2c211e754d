// Names of per-user files in the current directory. User IDs come from callers and from the
// exchange's answers, so only letters, digits, '_' and '-' are copied into a name; every other
// byte (path separators, '.', control characters, non-ASCII bytes, '%') is written as %XX in
// upper-case hexadecimal. A name can therefore only be a file of the current directory, and two
// different IDs never share one ("a/b" is "a%2Fb", "a_b" stays "a_b"). The library names its
// clock, sync and log files this way, and its users name their own per-user files with the same
// rule (the desktop's pre-order file does). Safe to call from any thread.
#pragma once

#include <string>

#include "quorex/Export.h"

namespace quorex {

// pattern holds one "%s" (for example "t_private%s.dat"); userId may be null (treated as "").
QUOREX_API std::string UserFileName(const char* pattern, const char* userId);

}  // namespace quorex
