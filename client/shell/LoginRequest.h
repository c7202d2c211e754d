// The trader's login request as the login dialog sends it: every byte zero except traderID (the
// first 8 characters of the trader code), memberID (its first 4: the member code is the prefix of
// the trader code) and password (the MD5 digest of the typed password's bytes as 32 lower-case
// hexadecimal digits). The password itself never leaves the client.
#pragma once

#include <string_view>

#include "quorex/Records.h"

namespace kvt {

// Both texts in GBK, as the records carry them.
TReqTraderLogin MakeLoginRequest(std::string_view traderCode, std::string_view password);

}  // namespace kvt
