// The package types of the protocol by name: tid::ReqYqOrder is the Tid of "双向竞价报单请求",
// tid::RspYqOrder the Tid that answers it. Expanded from the package catalogue (api/packages.def,
// whose top says how the identifiers are formed); an identifier used twice is a redefinition and
// does not compile. Compile-time constants; any thread may read them.
#pragma once

#include <cstdint>

namespace quorex::tid {

#define QX_PACKAGE(tid, identifier, ...) inline constexpr std::uint32_t identifier = tid;
#include "api/packages.def"
#undef QX_PACKAGE

}  // namespace quorex::tid
