// What the pages ask of one another, each through a small interface so that every page's logic
// can be tested alone:
// - CQuotationSource: the quotation page's stored quotations, read by the order entry page for the
//   quote panel and the prefills;
// - COrderPrefill: the order entry page's prefills, offered to the position and quotation pages'
//   context menus;
// - CPreOrderSink: the pre-order page's add, used by the order entry page and the batch panel.
//
// Thread contract: user interface thread only.
#pragma once

#include <vector>

#include "quorex/Records.h"

namespace kvt {

class CQuotationSource {
public:
    virtual ~CQuotationSource() = default;
    // The stored quotation of the instrument (6-character instID), or null.
    virtual const TYqQuotation* FindQuotation(const char* instID) const = 0;
};

class COrderPrefill {
public:
    virtual ~COrderPrefill() = default;
    // direction 's' for 转让卖出, 'b' for 转让买入.
    virtual void PrefillFromPosition(const TYqClientPosi& position, char direction) = 0;
    // direction 'b' or 's', offsetFlag '0' (新订) or '1' (转让).
    virtual void PrefillFromQuotation(const TYqQuotation& quotation, char direction, char offsetFlag) = 0;
};

class CPreOrderSink {
public:
    virtual ~CPreOrderSink() = default;
    // indentures: the order's list, its last entry the one with an empty indentNo; the page keeps
    // it. bringIntoView: show the pre-order page and the new row.
    virtual void AddPreOrder(const TYqOrder& order, std::vector<TYqFrznElctIndenture> indentures,
                             bool bringIntoView) = 0;
};

}  // namespace kvt
