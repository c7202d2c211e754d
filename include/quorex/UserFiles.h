// Names of per-user files in the current directory. User IDs come from callers and from the
// exchange's answers, so every byte that could leave the working directory or confuse a terminal
// (path separators, control characters) is replaced by '_'; what remains can only name a file in
// the current directory. The library names its clock, sync and log files this way, and its users
// may name their own per-user files with the same rule. Safe to call from any thread.
#pragma once

#include <string>

#include "quorex/Export.h"

namespace quorex {

// pattern holds one "%s" (for example "t_private%s.dat"); userId may be null (treated as "").
QUOREX_API std::string UserFileName(const char* pattern, const char* userId);

}  // namespace quorex
