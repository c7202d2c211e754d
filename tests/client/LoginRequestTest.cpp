#include <gtest/gtest.h>

#include <cstring>

#include "client/shell/LoginRequest.h"
#include "quorex/PasswordDigest.h"

using namespace kvt;

namespace {

TEST(LoginRequest, CarriesTheCodesAndTheDigestButNeverThePassword) {
    const TReqTraderLogin request = MakeLoginRequest("00011234", "secret");
    EXPECT_STREQ(request.traderID, "00011234");
    EXPECT_STREQ(request.memberID, "0001");
    EXPECT_STREQ(request.password, quorex::PasswordDigest("secret").c_str());
    EXPECT_EQ(std::strlen(request.password), 32u);
    EXPECT_NE(quorex::PasswordDigest("secret"), quorex::PasswordDigest("secreT"));

    // Every other byte of the record stays zero.
    TReqTraderLogin expected{};
    std::memcpy(expected.traderID, request.traderID, sizeof expected.traderID);
    std::memcpy(expected.memberID, request.memberID, sizeof expected.memberID);
    std::memcpy(expected.password, request.password, sizeof expected.password);
    EXPECT_EQ(std::memcmp(&request, &expected, sizeof request), 0);
}

TEST(LoginRequest, CutsLongCodesAndKeepsShortOnes) {
    const TReqTraderLogin longCode = MakeLoginRequest("0001123456", "x");
    EXPECT_STREQ(longCode.traderID, "00011234");
    EXPECT_STREQ(longCode.memberID, "0001");
    const TReqTraderLogin shortCode = MakeLoginRequest("01", "");
    EXPECT_STREQ(shortCode.traderID, "01");
    EXPECT_STREQ(shortCode.memberID, "01");
    EXPECT_STREQ(shortCode.password, "d41d8cd98f00b204e9800998ecf8427e");
}

}  // namespace
