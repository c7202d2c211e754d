#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "ClientTestSupport.h"
#include "client/shell/LoginState.h"

using namespace kvt;
using kvt::test::LocalTime;

namespace {

TReqTraderLogin LoginResponse(const char* date, const char* time) {
    TReqTraderLogin login{};
    std::strcpy(login.traderID, "00011234");
    std::strcpy(login.memberID, "0001");
    std::strcpy(login.password, "0123456789abcdef0123456789abcdef");
    std::strcpy(login.localOrderNo, "20261208000042");
    std::strcpy(login.clientID, "C0000001");
    std::strcpy(login.tradeDate, date);
    std::strcpy(login.tradeTime, time);
    return login;
}

TEST(LoginState, SuccessfulLoginFillsTheIdentityAndNothingElse) {
    CLoginState state;
    const std::time_t server = LocalTime(2026, 12, 8, 9, 30, 15);
    state.ApplyLoginResponse(LoginResponse("20261208", "09:30:15"), server - 3600);
    EXPECT_TRUE(state.IsLoggedIn());
    EXPECT_EQ(state.ServerTimeOffset(), 3600);

    TTrader expected{};
    std::strcpy(expected.traderID, "00011234");
    std::strcpy(expected.memberID, "0001");
    std::strcpy(expected.password, "0123456789abcdef0123456789abcdef");
    std::strcpy(expected.localOrderNo, "20261208000042");
    EXPECT_EQ(std::memcmp(&state.Trader(), &expected, sizeof expected), 0);  // clientID is not taken
    CLoginState::OrderNo next;
    state.GetNextLocalOrderNo(next);
    EXPECT_STREQ(next, "20261208000042");

    // The client's own order numbers move on without touching the acknowledged one, and back.
    state.SetNextLocalOrderNo("20261208000043");
    state.GetNextLocalOrderNo(next);
    EXPECT_STREQ(next, "20261208000043");
    EXPECT_STREQ(state.Trader().localOrderNo, "20261208000042");
    state.SetAcknowledgedLocalOrderNo("20261208000043");
    EXPECT_STREQ(state.Trader().localOrderNo, "20261208000043");

    // A logout clears only the flag.
    state.SetLoggedOut();
    EXPECT_FALSE(state.IsLoggedIn());
    EXPECT_STREQ(state.Trader().traderID, "00011234");
    EXPECT_EQ(state.ServerTimeOffset(), 3600);
}

TEST(LoginState, ServerBehindTheLocalClockGivesANegativeOffset) {
    CLoginState state;
    const std::time_t server = LocalTime(2027, 1, 1, 0, 0, 0);
    state.ApplyLoginResponse(LoginResponse("20270101", "00:00:00"), server + 90);
    EXPECT_EQ(state.ServerTimeOffset(), -90);
}

TEST(LoginState, AnInvalidTradeDateOrTimeKeepsTheOffset) {
    CLoginState state;
    const std::time_t server = LocalTime(2026, 12, 8, 9, 30, 0);
    state.ApplyLoginResponse(LoginResponse("20261208", "09:30:00"), server - 60);
    ASSERT_EQ(state.ServerTimeOffset(), 60);
    const char* invalid[][2] = {{"20260230", "09:30:00"}, {"20261308", "09:30:00"}, {"2026120x", "09:30:00"},
                                {"20261208", "24:00:00"}, {"20261208", "09:61:00"}, {"", ""},
                                {"20261208", "9:30"}};
    for (const auto& [date, time] : invalid) {
        state.ApplyLoginResponse(LoginResponse(date, time), server - 7200);
        EXPECT_EQ(state.ServerTimeOffset(), 60) << date << " " << time;
        // The rest of a successful login still applies.
        EXPECT_TRUE(state.IsLoggedIn());
    }
}

TEST(LoginState, UnterminatedRecordTextsAreCutToTheirFields) {
    TReqTraderLogin login = LoginResponse("20261208", "09:30:00");
    std::memset(login.traderID, '7', sizeof login.traderID);
    std::memset(login.localOrderNo, '9', sizeof login.localOrderNo);
    CLoginState state;
    state.ApplyLoginResponse(login, 0);
    EXPECT_STREQ(state.Trader().traderID, "77777777");
    CLoginState::OrderNo next;
    state.GetNextLocalOrderNo(next);
    EXPECT_STREQ(next, "99999999999999");
}

}  // namespace
