// The Yq quotation of one instrument: opened from the instrument and the previous day's
// quotation, moved by each match, and given the five best bid and ask levels of the order book.
// Pure functions on the record; any thread.
#pragma once

#include "quorex/Records.h"
#include "sim/OrderBook.h"
#include "sim/TradingDay.h"

namespace quorex::sim {

inline constexpr int kQuotationLevels = 5;

// The day's first quotation: names, previous average (the reference price when there was no
// previous quotation), price limits, nothing traded yet.
TYqQuotation OpeningQuotation(const CInstrumentConfig& instrument, const TYqLastQuotation* previous);
// A match of volume lots at price: open, high, low, last, volume, turnover, average, the change
// from the previous average (upDown, signed) and its rate (upDownRate, an unsigned fraction).
void ApplyMatch(TYqQuotation& quotation, double price, int volume, int unit);
// The five best levels of each side from the book (empty levels are 0).
void ApplyBook(TYqQuotation& quotation, const COrderBook& book, double tick);

}  // namespace quorex::sim
