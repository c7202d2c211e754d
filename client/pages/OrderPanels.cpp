// The panels' texts, formatted in the "C" locale like every number the client shows.
#include "client/pages/OrderPanels.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "client/shell/DisplayFormats.h"

namespace kvt {

namespace {

std::string PadLeft(std::string text, std::size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

std::string Price4(double price) { return PadLeft(FormatWhole(price), 4); }      // "%4.0f"
std::string Volume5(int volume) { return PadLeft(FormatInteger(volume), 5); }    // "%5d"

std::string Amount(std::int64_t amount) { return std::to_string(amount); }

// "%.2f" of turnover over amount, "0" for no amount.
std::string Average(double turnover, std::int64_t amount) {
    return amount == 0 ? std::string("0") : FormatTwoDecimals(turnover / static_cast<double>(amount));
}

}  // namespace

double CurrentPrice(const TYqQuotation& quotation) {
    return quotation.lastest == 0 ? quotation.lastAverage : quotation.lastest;
}

COrderQuoteTexts QuoteTexts(const TYqQuotation& q) {
    COrderQuoteTexts texts;
    const double bids[] = {q.bid1, q.bid2, q.bid3};
    const int bidLots[] = {q.bidLot1, q.bidLot2, q.bidLot3};
    const double asks[] = {q.ask1, q.ask2, q.ask3};
    const int askLots[] = {q.askLot1, q.askLot2, q.askLot3};
    for (std::size_t level = 0; level < 3; ++level) {
        texts.bidPrices[level] = Price4(bids[level]);
        texts.bidLots[level] = Volume5(bidLots[level]);
        texts.askPrices[level] = Price4(asks[level]);
        texts.askLots[level] = Volume5(askLots[level]);
    }
    texts.current = FormatWhole(CurrentPrice(q));
    texts.upper = FormatWhole(q.upperPrice);
    texts.lower = FormatWhole(q.lowerPrice);
    return texts;
}

COrderPositionTexts PositionTexts(const TYqMemberPosi* position) {
    if (position == nullptr) return {"0", "0", "0", "0"};
    // In 64 bits: two large holdings must not wrap into a negative amount.
    const std::int64_t longAmount = std::int64_t{position->longPosi} + position->manualLongFrozen;
    const std::int64_t shortAmount = std::int64_t{position->shortPosi} + position->manualShortFrozen;
    return {Amount(longAmount), Amount(shortAmount), Average(position->longTurnOver, longAmount),
            Average(position->shortTurnOver, shortAmount)};
}

std::string AffordableLotsText(double capital, double price) {
    int lots = 0;
    if (price != 0) {
        const double quotient = std::trunc(capital / price);
        if (quotient >= static_cast<double>(INT_MAX)) {
            lots = INT_MAX;
        } else if (quotient <= static_cast<double>(INT_MIN)) {
            lots = INT_MIN;
        } else if (!std::isnan(quotient)) {
            lots = static_cast<int>(quotient);
        }
    }
    return FormatInteger(lots) + "*rate";
}

}  // namespace kvt
