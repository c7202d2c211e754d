#include "sim/Quotation.h"

#include <gtest/gtest.h>

#include "sim/Text.h"

namespace quorex::sim {
namespace {

TYqQuotation OpenedAt(double lastAverage) {
    CInstrumentConfig instrument;
    SetText(instrument.info.instID, "000001");
    SetText(instrument.info.yqInstID, "HRB0601");
    instrument.info.refPrice = lastAverage;
    return OpeningQuotation(instrument, nullptr);
}

TEST(QuotationTest, AFallKeepsItsSignInUpDownAndItsSizeAsAnUnsignedFraction) {
    TYqQuotation quotation = OpenedAt(4000);
    ApplyMatch(quotation, 3950, 2, 10);
    EXPECT_DOUBLE_EQ(quotation.upDown, -50);
    EXPECT_DOUBLE_EQ(quotation.upDownRate, 0.0125);
}

TEST(QuotationTest, ARiseIsAFractionOfThePreviousAverageAndNoChangeIsZero) {
    TYqQuotation quotation = OpenedAt(4000);
    ApplyMatch(quotation, 4040, 1, 10);
    EXPECT_DOUBLE_EQ(quotation.upDown, 40);
    EXPECT_DOUBLE_EQ(quotation.upDownRate, 0.01);
    ApplyMatch(quotation, 4000, 1, 10);
    EXPECT_DOUBLE_EQ(quotation.upDown, 0);
    EXPECT_DOUBLE_EQ(quotation.upDownRate, 0);
}

TEST(QuotationTest, WithoutAPreviousAverageTheRateIsZero) {
    TYqQuotation quotation = OpenedAt(0);
    ApplyMatch(quotation, 3000, 1, 10);
    EXPECT_DOUBLE_EQ(quotation.upDownRate, 0);
}

}  // namespace
}  // namespace quorex::sim
