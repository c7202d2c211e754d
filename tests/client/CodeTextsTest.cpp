#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "quorex/Text.h"

using namespace kvt;
using quorex::GbkToUtf8;
using quorex::Utf8ToGbk;

namespace {

using Converter = std::string (*)(char);
using Table = std::vector<std::pair<char, const char*>>;

// The tables as the trader sees them, in UTF-8; the functions return GBK.
void ExpectTable(Converter convert, const Table& table) {
    for (const auto& [code, text] : table) EXPECT_EQ(GbkToUtf8(convert(code)), text) << "code " << code;
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        bool inTable = false;
        for (const auto& entry : table) inTable = inTable || entry.first == c;
        if (!inTable) {
            EXPECT_EQ(GbkToUtf8(convert(c)), "未定义常量") << "code " << code;
        }
    }
}

TEST(CodeTexts, EveryTableAndItsFallback) {
    ExpectTable(AccountTypeText, {{'0', "自营"}, {'1', "代理"}});
    ExpectTable(DirectionText, {{'b', "买"}, {'s', "卖"}});
    ExpectTable(OffsetFlagText, {{'0', "新订"}, {'1', "转让"}, {'2', "强制转让"}, {'3', "协议状让"}});
    ExpectTable(YesNoText, {{'0', "否"}, {'1', "是"}});
    ExpectTable(OrderStatusText, {{'o', "未成交"},
                                  {'p', "部分成交"},
                                  {'c', "完全成交"},
                                  {'d', "用户撤消"},
                                  {'f', "强制撤消"},
                                  {'1', "预埋"},
                                  {'2', "发送中"},
                                  {'3', "发送失败"}});
    ExpectTable(PledgeFlagText, {{'1', "定金"}, {'2', "电子货单"}});
}

TEST(CodeTexts, AccountTypeFromTextNeedsTheWholeText) {
    EXPECT_EQ(AccountTypeFromText(Utf8ToGbk("自营")), '0');
    EXPECT_EQ(AccountTypeFromText(Utf8ToGbk("代理")), '1');
    EXPECT_EQ(AccountTypeFromText(""), '*');
    EXPECT_EQ(AccountTypeFromText(Utf8ToGbk(" 自营")), '\0');
    EXPECT_EQ(AccountTypeFromText(Utf8ToGbk("自营 ")), '\0');
    // The UTF-8 bytes of the same text are not the record's code page.
    EXPECT_EQ(AccountTypeFromText("自营"), '\0');
}

TEST(DisplayFormats, NumbersFollowTheCFormats) {
    EXPECT_EQ(FormatWhole(0.0), "0");
    EXPECT_EQ(FormatWhole(-3.0), "-3");
    EXPECT_EQ(FormatWhole(1234.6), "1235");
    EXPECT_EQ(FormatWhole(99999999999.4), "99999999999");
    EXPECT_EQ(FormatTwoDecimals(5), "5.00");
    EXPECT_EQ(FormatTwoDecimals(4125.125), "4125.12");  // an exact tie goes to the even digit
    EXPECT_EQ(FormatOneDecimal(3.25), "3.2");
    EXPECT_EQ(FormatOneDecimal(-0.06), "-0.1");
    EXPECT_EQ(FormatInteger(-7), "-7");
    EXPECT_EQ(FormatInteger(2147483647), "2147483647");
    EXPECT_EQ(FormatWhole(1e300).size(), 301u);
}

// A toolkit sets the user's locale; a comma must never appear in an amount, and a typed point
// must still be read.
TEST(DisplayFormats, IgnoreTheProcessLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") == nullptr) {
        GTEST_SKIP() << "needs a locale with a decimal comma, de_DE.UTF-8 or fr_FR.UTF-8; neither is installed (locale -a)";
    }
    EXPECT_EQ(FormatTwoDecimals(12.5), "12.50");
    EXPECT_EQ(ParseDouble("12.5"), 12.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(DisplayFormats, ParsingFollowsTheCLibrary) {
    EXPECT_EQ(ParseDouble("12.5abc"), 12.5);
    EXPECT_EQ(ParseInt("12.5abc"), 12);
    EXPECT_EQ(ParseDouble("abc"), 0.0);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseDouble(" \t+3.5"), 3.5);
    EXPECT_EQ(ParseInt("  -42x"), -42);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt(nullptr), 0);
    EXPECT_EQ(ParseDouble(nullptr), 0.0);
    // Out of the int range: clamped, never undefined.
    EXPECT_EQ(ParseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseInt("-99999999999"), -2147483647 - 1);
}

TEST(DisplayFormats, FieldTextsAndCodeFields) {
    char unterminated[4] = {'A', 'B', 'C', 'D'};
    EXPECT_EQ(FieldText(unterminated), "ABCD");
    char shortText[11] = "E0001";
    EXPECT_EQ(FieldText(shortText), "E0001");

    char field[11];
    std::memset(field, 'x', sizeof field);
    ToCodeField("", field);
    EXPECT_STREQ(field, "*");
    ToCodeField("ABCDEFGHIJKL", field);
    EXPECT_STREQ(field, "ABCDEFGHIJ");
    ToCodeField("HR0612", field);
    EXPECT_STREQ(field, "HR0612");
}

}  // namespace
