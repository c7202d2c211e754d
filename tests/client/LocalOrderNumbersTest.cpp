// The acknowledged and sent local order numbers: formats, the one-order rule, the base of
// batches, and the answers that bring the two together again.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/shell/LocalOrderNumbers.h"

using namespace kvt;
using namespace kvt::test;

TEST(LocalOrderNumbers, FourteenDigitsWithLeadingZeros) {
    EXPECT_EQ(CLocalOrderNumbers::Format(42), "00000000000042");
    EXPECT_EQ(CLocalOrderNumbers::Format(99999999999999), "99999999999999");
    EXPECT_EQ(CLocalOrderNumbers::Format(100000000000000).size(), 14u);
    EXPECT_EQ(CLocalOrderNumbers::Parse("00000000000041"), 41);
    EXPECT_EQ(CLocalOrderNumbers::Parse("98765432109876"), 98765432109876);  // beyond 32 bits
    EXPECT_EQ(CLocalOrderNumbers::Parse(""), 0);
}

TEST(LocalOrderNumbers, ASingleOrderIsInFlightUntilItsAnswer) {
    CClientHarness harness;
    harness.LogIn("00010001", "0001", "00000000000041");
    CLocalOrderNumbers numbers(harness.api.LoginState());
    EXPECT_FALSE(numbers.IsOrderInFlight());
    EXPECT_EQ(numbers.NextSingle(), "00000000000042");
    numbers.OnSent(numbers.NextSingle());
    EXPECT_TRUE(numbers.IsOrderInFlight());
    numbers.OnAnswered(false, "");
    EXPECT_FALSE(numbers.IsOrderInFlight());
    EXPECT_EQ(numbers.NextSingle(), "00000000000042");
    numbers.OnSent("00000000000042");
    numbers.OnAnswered(true, "00000000000042");
    EXPECT_FALSE(numbers.IsOrderInFlight());
    EXPECT_EQ(numbers.NextSingle(), "00000000000043");
}

TEST(LocalOrderNumbers, BatchesNumberBeyondWhatWasSentAndTheTwoNumbersMeetAgain) {
    CClientHarness harness;
    harness.LogIn("00010001", "0001", "00000000000041");
    CLocalOrderNumbers numbers(harness.api.LoginState());
    numbers.OnSent("00000000000042");  // a single order, unanswered
    EXPECT_EQ(numbers.ReserveBatch(3), 42);
    // A batch of three: 43, 44, 45. The middle one is refused, the last accepted.
    numbers.OnSent("00000000000045");
    numbers.OnAnswered(true, "00000000000042");
    numbers.OnAnswered(true, "00000000000043");
    numbers.OnAnswered(false, "");  // rolls the sent number back to 43
    EXPECT_EQ(numbers.Sent(), 43);
    numbers.OnAnswered(true, "00000000000045");
    EXPECT_FALSE(numbers.IsOrderInFlight());
    EXPECT_EQ(numbers.NextSingle(), "00000000000046");
}

TEST(LocalOrderNumbers, NumbersSetAsideAreNotGivenAgainUntilTheNextLogin) {
    CClientHarness harness;
    harness.LogIn("00010001", "0001", "00000000000041");
    CLocalOrderNumbers numbers(harness.api.LoginState());
    EXPECT_EQ(numbers.ReserveBatch(3), 41);  // 42 to 44, not sent yet
    EXPECT_EQ(numbers.ReserveBatch(2), 44);  // a second command waits behind the first
    numbers.OnSent("00000000000042");
    numbers.OnAnswered(false, "");  // the sent number rolls back to 41
    EXPECT_EQ(numbers.ReserveBatch(1), 46);
    harness.LogIn("00010001", "0001", "00000000000050");
    EXPECT_EQ(numbers.ReserveBatch(1), 50);
}
