#include <gtest/gtest.h>

#include <cstring>

#include "quorex/Text.h"

using namespace quorex;

TEST(Text, GbkAndUtf8RoundTrip) {
    const std::string utf8 = "双向竞价 HR0612";
    const std::string gbk = Utf8ToGbk(utf8);
    EXPECT_EQ(gbk.size(), 4u * 2 + 7);  // two bytes per Chinese character in GBK
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
    char member[13] = {};
    gbk.copy(member, 12);
    EXPECT_EQ(TextOf(member), "双向竞价 HR0");
}

TEST(Text, InvalidBytesBecomeQuestionMarks) {
    EXPECT_EQ(GbkToUtf8(std::string("ab\xFF" "c", 4)), "ab?c");
    EXPECT_EQ(GbkToUtf8(std::string("ab\xB0", 3)), "ab?");  // a cut-off two-byte character
    EXPECT_EQ(GbkToUtf8(""), "");
}

TEST(Text, RecordTextMembersAreCutTerminatedAndReadWithinTheirWidth) {
    char member[5];
    std::memset(member, 'x', sizeof member);
    SetText(member, "ABCDEFG");
    EXPECT_EQ(std::string(member), "ABCD");
    SetText(member, "Z");
    EXPECT_EQ(member[1], '\0');
    EXPECT_EQ(member[4], '\0');
    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(FieldText(unterminated), "abc");
}
