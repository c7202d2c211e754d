// COrderCanceller: sends the cancel requests of the two order lists, one every 50 ms. The
// requests are formed from the orders when the command is given, so a row that changes or moves
// meanwhile does not change what is sent; the lists themselves change only when the exchange's
// order updates come back. Both lists share one canceller, so two commands given one after the
// other still go out at one request per 50 ms, the second behind the first. The result of a
// send is not examined: the exchange's answer reaches the status line.
//
// Thread contract: user interface thread only. Ownership: owns the requests not yet sent; they
// are dropped with it.
#pragma once

#include <chrono>
#include <vector>

#include "client/shell/PacedSequence.h"
#include "quorex/Records.h"

namespace kvt {

class CExchangeRequests;
class CTimers;

class COrderCanceller {
public:
    static constexpr std::chrono::milliseconds kInterval{50};

    COrderCanceller(CExchangeRequests& requests, CTimers& timers) : m_requests(requests), m_sequence(timers) {}

    // One cancel per order, in the given order; the first goes at once.
    void Cancel(const std::vector<const TYqOrder*>& orders);

private:
    CExchangeRequests& m_requests;
    CPacedSequence m_sequence;
};

}  // namespace kvt
