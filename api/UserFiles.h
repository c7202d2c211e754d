// Names of the per-user files the API keeps in the current directory. User IDs come from callers
// and from the exchange's answers, so every byte that could leave the working directory or
// confuse a terminal (path separators, control characters) is replaced by '_'; what remains can
// only name a file in the current directory.
#pragma once

#include <string>

namespace quorex {

// pattern holds one "%s" (for example "t_private%s.dat"); userId may be null (treated as "").
std::string UserFileName(const char* pattern, const char* userId);

// The files of one user kind: the trader's start with "T_"/"t_", the administrator's with
// "A_"/"a_".
struct TUserFilePatterns {
    const char* clock;
    const char* privateSync;
    const char* memberSync;
    const char* marketSync;
};
inline constexpr TUserFilePatterns kTraderFiles{"T_CLOCK%s.dat", "t_private%s.dat", "t_member%s.dat", "t_market%s.dat"};
inline constexpr TUserFilePatterns kAdminFiles{"A_CLOCK%s.dat", "a_private%s.dat", "a_member%s.dat", "a_market%s.dat"};
inline constexpr const char* kReceivedLogIdPattern = "log%s.id";
inline constexpr const char* kReceivedLogContentPattern = "log%s.con";

}  // namespace quorex
