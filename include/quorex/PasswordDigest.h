// The password digest the exchange expects: the login requests (`TReqTraderLogin`,
// `TReqUserLogin`) and the password change (`TTraderPasswordUpdate` and the user's) carry a
// password never as typed but as the MD5 of its bytes, written as 32 lower-case hexadecimal
// digits. Hand the password as the exchange knows it (GBK bytes; ASCII passwords are the same in
// every encoding). Reentrant; safe to call from any thread.
#pragma once

#include <string>
#include <string_view>

#include "quorex/Export.h"

namespace quorex {

QUOREX_API std::string PasswordDigest(std::string_view password);

}  // namespace quorex
