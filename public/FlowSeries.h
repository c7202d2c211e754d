// The sequence series of the four flows of a session, the same on both sides of a connection:
// the dialog flow (requests out, their responses in) and the member, private and market flows,
// which the exchange numbers and resumes from a subscription point.
#pragma once

#include <cstdint>

namespace quorex {

enum FlowSeries : std::uint8_t { kDialogSeries = 1, kMemberSeries = 2, kPrivateSeries = 3, kMarketSeries = 4 };

}  // namespace quorex
