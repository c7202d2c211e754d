// The capital query the client sends (after the login, on 刷新 of the capital page, after every
// order update): the member's own account, "自营", with the member code of the login state and the
// other fields empty.
#pragma once

#include "quorex/Records.h"

namespace kvt {

TReqQryMemberCapital OwnCapitalQuery(const TTrader& trader);

}  // namespace kvt
