// The texts of the order entry page's read-only panels: the quote panel from a quotation, the
// position panel from the member's position, and the hidden count of lots that the available
// capital buys.
//
// Thread contract: none (pure functions).
#pragma once

#include <string>

#include "client/pages/OrderFormView.h"
#include "quorex/Records.h"

namespace kvt {

// The price an order would be prefilled with and lots are counted at: lastest, or lastAverage when
// there has been no trade yet.
double CurrentPrice(const TYqQuotation& quotation);

// Bids and asks "%4.0f" with volumes "%5d"; current price and limits "%.0f".
COrderQuoteTexts QuoteTexts(const TYqQuotation& quotation);

// From the member's own position: amounts with their manual frozen parts ("%d"), average prices
// "%.2f" ("0" without an amount). Without a record everything is "0".
COrderPositionTexts PositionTexts(const TYqMemberPosi* position);

// The whole lots that capital buys at price, "%d" followed by "*rate". A price of 0 (or a result
// that is not a number) counts no lot; a result beyond the int range is held at its end.
std::string AffordableLotsText(double capital, double price);

}  // namespace kvt
