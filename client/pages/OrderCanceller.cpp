// COrderCanceller: one paced step per cancel request.
#include "client/pages/OrderCanceller.h"

#include "client/pages/OrderCells.h"
#include "client/shell/ExchangeRequests.h"

namespace kvt {

void COrderCanceller::Cancel(const std::vector<const TYqOrder*>& orders) {
    if (orders.empty()) return;
    std::vector<CPacedSequence::Step> steps;
    steps.reserve(orders.size());
    for (const TYqOrder* order : orders) {
        steps.push_back([this, cancel = CancelRequestOf(*order)] { m_requests.ReqYqOrderCancel(cancel); });
    }
    m_sequence.Run(std::move(steps), kInterval);
}

}  // namespace kvt
