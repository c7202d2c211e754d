// Builds a request package as a client would send it and parses it as the server receives it, so
// that in-process clients of the exchange (the market bot, tests) use the same path as the wire.
// Pure functions on caller-owned packages; one thread at a time per package.
#pragma once

#include <cstdint>

#include "public/FlowSeries.h"
#include "public/XTPPackage.h"

namespace quorex::sim {

// Builds a package of type tid with the records (in the type's definition order) in build, and
// leaves it parsed in request. False when a record does not fit the type.
template <class... Records>
bool BuildRequest(CXTPPackage& build, CXTPPackage& request, std::uint32_t tid, const char* rootID, const Records&... records) {
    if (!build.Prepare(tid)) return false;
    if (rootID != nullptr) build.SetRootID(rootID);
    if (!(build.AddRecord(records) && ...)) return false;
    TXTPHeader header = build.m_XTPHeader;
    header.SequenceSeries = kDialogSeries;
    header.ContentLength = static_cast<std::uint16_t>(build.Length());
    if (!build.PrependHeader(header)) return false;
    request.Assign(build.Address(), build.Length());
    return request.Parse() >= 0;
}

}  // namespace quorex::sim
