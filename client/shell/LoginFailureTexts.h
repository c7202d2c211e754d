// What the login dialog says when a login does not get through: the exchange's text for a refusal,
// the text of a user file the library could not use together with the files to remove, and the
// ending of a session while the dialog waited.
//
// Thread contract: none; pure functions.
#pragma once

#include <string>

#include "quorex/Records.h"

namespace kvt {

// rsp: the refused login's answer (may be null); traderCode: the trader code the login was made
// with (GBK), whose files the library keeps.
std::string LoginFailureText(const TTRspMsg* rsp, const std::string& traderCode);
// reason: the TTRspMsg whose RspMsg holds the library's reason (may be null).
std::string ConnectionLostText(const TTRspMsg* reason);

}  // namespace kvt
