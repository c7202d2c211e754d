// The success test of every response the client gets: RspCode equals "RSP000000", compared over
// ten bytes with the terminator, so that a longer code such as "RSP0000001" is not a success.
#pragma once

#include <cstring>

#include "quorex/Records.h"

namespace kvt {

inline constexpr char kSuccessCode[] = "RSP000000";

inline bool IsSuccess(const TTRspMsg* rsp) {
    static_assert(sizeof kSuccessCode == 10 && sizeof TTRspMsg::RspCode >= sizeof kSuccessCode);
    return rsp != nullptr && std::memcmp(rsp->RspCode, kSuccessCode, sizeof kSuccessCode) == 0;
}

}  // namespace kvt
