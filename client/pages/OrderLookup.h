// COrderLookup: finds the order list page's copy of an order by its order number, for pages that
// show an order's details beside their own records (the match page's 报单时间).
//
// Thread contract: user interface thread only.
#pragma once

#include <string_view>

#include "quorex/Records.h"

namespace kvt {

class COrderLookup {
public:
    virtual ~COrderLookup() = default;
    // The stored order with this orderNo (GBK, as in the records), or null; never a scan.
    virtual const TYqOrder* FindOrder(std::string_view orderNo) const = 0;
};

}  // namespace kvt
