// The exchange's result codes and texts, carried by every answer in the response field (0xA0FF).
// "RSP000000" is success; every refusal has its own code so that a client or a test can tell why.
// The texts are kept as GBK, converted once on first use. Any thread.
#pragma once

#include "quorex/Records.h"

namespace quorex::sim {

enum class Rsp : int {
    kSuccess,
    kNotLoggedIn,
    kAlreadyLoggedIn,
    kUnknownTrader,
    kUnknownUser,
    kWrongPassword,
    kMemberMismatch,
    kNotTheSessionsUser,
    kNotSupported,
    kBadNewPassword,
    kNotPermitted,
    kUnknownInstrument,
    kNotTrading,
    kPriceOutOfLimits,
    kPriceOffTick,
    kBadAmount,
    kLocalOrderNoNotAbove,
    kUnknownClient,
    kBadOrderCodes,
    kInsufficientCapital,
    kIndentureNotAvailable,
    kIndentureAmountMismatch,
    kInsufficientPosition,
    kUnknownOrder,
    kOrderFinished,
    kNotYourOrder,
    kBadStateCommand,
    kUnknownExchange,
    kUnknownMarket,
    kTraderNotOnline,
    kCount
};

// The response field for a result; ChainFlag is left 0 (the receiver sets it).
const TTRspMsg& RspMsgOf(Rsp result);

}  // namespace quorex::sim
