// The patterns of the per-user files the API keeps in the current directory; UserFileName (in the
// public header) turns a pattern and a user ID into a file name that stays in that directory.
#pragma once

#include "quorex/UserFiles.h"

namespace quorex {

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
