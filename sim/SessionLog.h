// The simulator's lines about its sessions: who logged in on which connection, and how each
// connection ended, with the end code in words. User IDs travel in GBK and are printed in UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "sim/ExchangeOutput.h"

namespace quorex::sim {

// "trader 00010001": the role and the user's ID, in UTF-8.
std::string SessionUser(std::string_view role, std::string_view gbkUser);

// "session 3: trader 00010001 logged in"
std::string LoginLine(SessionId session, std::string_view user);

// "session 3: trader 00010001 ended: peer closed (0x1001)"; user is empty for a connection that
// never logged in. Code 0 is an end the exchange asked for (a logout, a forced logout, a login
// elsewhere, the login time-out).
std::string EndLine(SessionId session, std::string_view user, int code);

}  // namespace quorex::sim
