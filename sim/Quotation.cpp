#include "sim/Quotation.h"

#include <cmath>

#include "sim/Text.h"

namespace quorex::sim {

TYqQuotation OpeningQuotation(const CInstrumentConfig& instrument, const TYqLastQuotation* previous) {
    const TYuanQiInst& info = instrument.info;
    TYqQuotation quotation{};
    SetText(quotation.instID, FieldText(info.instID));
    SetText(quotation.yqInstID, FieldText(info.yqInstID));
    SetText(quotation.yqName, FieldText(info.yqName));
    SetText(quotation.cateID, FieldText(info.cateID));
    quotation.lastAverage = previous != nullptr && previous->average > 0 ? previous->average : info.refPrice;
    quotation.upperPrice = info.upperLimit;
    quotation.lowerPrice = info.lowerLimit;
    return quotation;
}

void ApplyMatch(TYqQuotation& quotation, double price, int volume, int unit) {
    if (quotation.volume == 0) {
        quotation.open = quotation.high = quotation.low = price;
    } else {
        if (price > quotation.high) quotation.high = price;
        if (price < quotation.low) quotation.low = price;
    }
    quotation.lastest = price;
    quotation.volume += volume;
    quotation.turnOver += price * volume * unit;
    quotation.average = quotation.turnOver / (static_cast<double>(quotation.volume) * unit);
    quotation.upDown = price - quotation.lastAverage;
    // The rate is the size of the change as a fraction of the previous average (0.0123 for 1.23 %),
    // never negative: the direction travels in upDown.
    quotation.upDownRate = quotation.lastAverage > 0 ? std::fabs(quotation.upDown) / quotation.lastAverage : 0.0;
}

void ApplyBook(TYqQuotation& quotation, const COrderBook& book, double tick) {
    double* bids[kQuotationLevels] = {&quotation.bid1, &quotation.bid2, &quotation.bid3, &quotation.bid4, &quotation.bid5};
    std::int32_t* bidLots[kQuotationLevels] = {&quotation.bidLot1, &quotation.bidLot2, &quotation.bidLot3,
                                               &quotation.bidLot4, &quotation.bidLot5};
    double* asks[kQuotationLevels] = {&quotation.ask1, &quotation.ask2, &quotation.ask3, &quotation.ask4, &quotation.ask5};
    std::int32_t* askLots[kQuotationLevels] = {&quotation.askLot1, &quotation.askLot2, &quotation.askLot3,
                                               &quotation.askLot4, &quotation.askLot5};
    const auto fill = [&](bool buy, double** prices, std::int32_t** lots) {
        for (int i = 0; i < kQuotationLevels; ++i) {
            *prices[i] = 0;
            *lots[i] = 0;
        }
        int level = 0;
        book.VisitLevels(buy, kQuotationLevels, [&](std::int64_t ticks, std::int64_t total) {
            *prices[level] = static_cast<double>(ticks) * tick;
            *lots[level] = static_cast<std::int32_t>(total);
            ++level;
        });
    };
    fill(true, bids, bidLots);
    fill(false, asks, askLots);
}

}  // namespace quorex::sim
