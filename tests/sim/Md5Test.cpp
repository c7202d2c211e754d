#include "sim/Md5.h"

#include <gtest/gtest.h>

#include <string>

namespace quorex::sim {
namespace {

TEST(Md5Test, MatchesTheReferenceDigests) {
    // The test suite of the digest's definition, covering the one- and two-block tails.
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5Test, TailsAroundTheBlockBoundaryDiffer) {
    // 55, 56 and 64 bytes put the length into the first block, a second one, and a block of its own.
    EXPECT_NE(Md5Hex(std::string(55, 'x')), Md5Hex(std::string(56, 'x')));
    EXPECT_EQ(Md5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
}

TEST(Md5Test, RecognisesDigestText) {
    EXPECT_TRUE(IsMd5Hex(Md5Hex("trader1")));
    EXPECT_FALSE(IsMd5Hex("D41D8CD98F00B204E9800998ECF8427E"));  // upper case is not the stored form
    EXPECT_FALSE(IsMd5Hex("d41d8cd98f00b204e9800998ecf8427"));
    EXPECT_FALSE(IsMd5Hex("trader1"));
}

}  // namespace
}  // namespace quorex::sim
