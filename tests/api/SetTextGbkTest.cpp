// Filling record texts with GBK: a text that does not fit is cut between characters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "quorex/Text.h"

using namespace quorex;

namespace {

// The member's bytes up to its terminator, and whether everything after the text is zero.
template <std::size_t N>
std::string Filled(const char (&member)[N]) {
    const std::string text(FieldText(member));
    for (std::size_t i = text.size(); i < N; ++i) EXPECT_EQ(member[i], '\0') << "byte " << i;
    return text;
}

const std::string kRebar = Utf8ToGbk("螺纹钢");  // 6 bytes

}  // namespace

TEST(SetTextGbk, ChineseTextIsCutBeforeACharacterThatDoesNotFit) {
    char five[6];  // 5 text bytes: two characters, not two and a half
    std::memset(five, 'x', sizeof five);
    SetText(five, kRebar);
    EXPECT_EQ(GbkToUtf8(Filled(five)), "螺纹");
    char four[5];  // 4 text bytes: exactly two characters
    SetText(four, kRebar);
    EXPECT_EQ(GbkToUtf8(Filled(four)), "螺纹");
    char one[2];
    SetText(one, kRebar);
    EXPECT_EQ(Filled(one), "");
}

TEST(SetTextGbk, ExactAndRoomyFitsKeepTheWholeText) {
    char exact[7];
    SetText(exact, kRebar);
    EXPECT_EQ(GbkToUtf8(Filled(exact)), "螺纹钢");
    char roomy[20];
    SetText(roomy, kRebar);
    EXPECT_EQ(GbkToUtf8(Filled(roomy)), "螺纹钢");
    // A character whose trail byte looks like a lead byte (钢 is B8 D6) still fits exactly.
    char two[3];
    SetText(two, Utf8ToGbk("钢钢"));
    EXPECT_EQ(GbkToUtf8(Filled(two)), "钢");
}

TEST(SetTextGbk, MixedAsciiAndChineseAtOddAndEvenWidths) {
    const std::string mixed = Utf8ToGbk("A螺B纹");  // A(1) 螺(2) B(1) 纹(2)
    char width3[4];
    SetText(width3, mixed);
    EXPECT_EQ(GbkToUtf8(Filled(width3)), "A螺");
    char width4[5];
    SetText(width4, mixed);
    EXPECT_EQ(GbkToUtf8(Filled(width4)), "A螺B");
    char width5[6];
    SetText(width5, mixed);
    EXPECT_EQ(GbkToUtf8(Filled(width5)), "A螺B");
    char width6[7];
    SetText(width6, mixed);
    EXPECT_EQ(GbkToUtf8(Filled(width6)), "A螺B纹");
    // The cut is found from the start: a trail byte in the ASCII range (丂 is 81 40) is not a
    // character of its own.
    char width2[3];
    SetText(width2, Utf8ToGbk("丂丂"));
    EXPECT_EQ(GbkToUtf8(Filled(width2)), "丂");
    char width3b[4];
    SetText(width3b, Utf8ToGbk("丂丂"));
    EXPECT_EQ(GbkToUtf8(Filled(width3b)), "丂");
}

TEST(SetTextGbk, BytesOutsideTwoByteCharactersAreSingle) {
    char member[3];
    SetText(member, std::string("\x80\xFF\x80", 3));  // neither is a lead byte
    EXPECT_EQ(Filled(member), std::string("\x80\xFF", 2));
    SetText(member, std::string("A\xB8", 2));  // a lead byte that ends the text stays
    EXPECT_EQ(Filled(member), std::string("A\xB8", 2));
    SetText(member, "");
    EXPECT_EQ(Filled(member), "");
}
