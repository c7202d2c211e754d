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

// SetText of the UTF-8 text into a member of N bytes (N - 1 for the text), read back in UTF-8.
template <std::size_t N>
std::string FittedInto(const std::string& utf8) {
    char member[N];
    std::memset(member, 'x', sizeof member);
    SetText(member, Utf8ToGbk(utf8));
    return GbkToUtf8(Filled(member));
}

}  // namespace

TEST(SetTextGbk, ChineseTextIsCutBeforeACharacterThatDoesNotFit) {
    EXPECT_EQ(FittedInto<6>("螺纹钢"), "螺纹");  // 5 text bytes: two characters, not two and a half
    EXPECT_EQ(FittedInto<5>("螺纹钢"), "螺纹");  // 4 text bytes: exactly two characters
    EXPECT_EQ(FittedInto<2>("螺纹钢"), "");
}

TEST(SetTextGbk, ExactAndRoomyFitsKeepTheWholeText) {
    EXPECT_EQ(FittedInto<7>("螺纹钢"), "螺纹钢");
    EXPECT_EQ(FittedInto<20>("螺纹钢"), "螺纹钢");
    // A character whose trail byte looks like a lead byte (钢 is B8 D6) still fits exactly.
    EXPECT_EQ(FittedInto<3>("钢钢"), "钢");
}

TEST(SetTextGbk, MixedAsciiAndChineseAtOddAndEvenWidths) {
    // A(1) 螺(2) B(1) 纹(2)
    EXPECT_EQ(FittedInto<4>("A螺B纹"), "A螺");
    EXPECT_EQ(FittedInto<5>("A螺B纹"), "A螺B");
    EXPECT_EQ(FittedInto<6>("A螺B纹"), "A螺B");
    EXPECT_EQ(FittedInto<7>("A螺B纹"), "A螺B纹");
    // The cut is found from the start: a trail byte in the ASCII range (丂 is 81 40) is not a
    // character of its own.
    EXPECT_EQ(FittedInto<3>("丂丂"), "丂");
    EXPECT_EQ(FittedInto<4>("丂丂"), "丂");
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
