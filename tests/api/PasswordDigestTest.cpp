#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "api/Md5.h"
#include "quorex/PasswordDigest.h"

using namespace quorex;

namespace {

TEST(PasswordDigest, MatchesTheRfc1321TestSuite) {
    EXPECT_EQ(PasswordDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(PasswordDigest("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(PasswordDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(PasswordDigest("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(PasswordDigest("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(PasswordDigest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(PasswordDigest("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

// Message lengths around the padding boundaries (55, 56, 63, 64 bytes) and input fed in pieces
// of every size must give the digest of the whole message at once.
TEST(PasswordDigest, PiecewiseInputAndPaddingBoundariesAgreeWithOneShot) {
    std::string message;
    for (int i = 0; i < 200; ++i) message.push_back(static_cast<char>('A' + i % 26));
    for (std::size_t length : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 200u}) {
        const std::string whole = PasswordDigest(message.substr(0, length));
        for (std::size_t piece = 1; piece <= 65; piece += 7) {
            CMd5 md5;
            for (std::size_t at = 0; at < length; at += piece) md5.Update(message.data() + at, std::min(piece, length - at));
            const CMd5::Digest digest = md5.Final();
            std::string hex;
            for (auto byte : digest) {
                char two[3];
                std::snprintf(two, sizeof two, "%02x", byte);
                hex += two;
            }
            EXPECT_EQ(hex, whole) << "length " << length << " piece " << piece;
        }
    }
    // A known digest past one block: 1,000 times 'a' is a standard vector.
    EXPECT_EQ(PasswordDigest(std::string(1000, 'a')), "cabe45dcc9ae5b66ba86600cca6b8ba8");
}

}  // namespace
