// The texts the client shows for the one-character codes of the exchange's records, and the one
// reverse conversion. Texts are GBK, like the records; quorex::GbkToUtf8 converts them for
// display. A code outside a table, the zero character included, yields kUndefinedCodeText.
//
// The tables themselves are plain data in this header (no Qt, no library code), so that the
// generator of the reference documentation prints the very tables the client uses. Safe to use
// from any thread.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kvt {

// "未定义常量"
inline constexpr std::string_view kUndefinedCodeText = "\xce\xb4\xb6\xa8\xd2\xe5\xb3\xa3\xc1\xbf";

// One code and the text shown for it.
struct CCodeText {
    char code;
    std::string_view text;  // GBK
};

inline constexpr std::string_view kSelfOperatedText = "\xd7\xd4\xd3\xaa";  // 自营
inline constexpr std::string_view kAgencyText = "\xb4\xfa\xc0\xed";        // 代理

inline constexpr CCodeText kAccountTypeCodes[] = {{'0', kSelfOperatedText}, {'1', kAgencyText}};

inline constexpr CCodeText kDirectionCodes[] = {
    {'b', "\xc2\xf2"},  // 买
    {'s', "\xc2\xf4"},  // 卖
};

inline constexpr CCodeText kOffsetFlagCodes[] = {
    {'0', "\xd0\xc2\xb6\xa9"},                  // 新订
    {'1', "\xd7\xaa\xc8\xc3"},                  // 转让
    {'2', "\xc7\xbf\xd6\xc6\xd7\xaa\xc8\xc3"},  // 强制转让
    {'3', "\xd0\xad\xd2\xe9\xd7\xb4\xc8\xc3"},  // 协议状让
};

inline constexpr CCodeText kYesNoCodes[] = {
    {'0', "\xb7\xf1"},  // 否
    {'1', "\xca\xc7"},  // 是
};

inline constexpr CCodeText kOrderStatusCodes[] = {
    {'o', "\xce\xb4\xb3\xc9\xbd\xbb"},          // 未成交
    {'p', "\xb2\xbf\xb7\xd6\xb3\xc9\xbd\xbb"},  // 部分成交
    {'c', "\xcd\xea\xc8\xab\xb3\xc9\xbd\xbb"},  // 完全成交
    {'d', "\xd3\xc3\xbb\xa7\xb3\xb7\xcf\xfb"},  // 用户撤消
    {'f', "\xc7\xbf\xd6\xc6\xb3\xb7\xcf\xfb"},  // 强制撤消
    {'1', "\xd4\xa4\xc2\xf1"},                  // 预埋
    {'2', "\xb7\xa2\xcb\xcd\xd6\xd0"},          // 发送中
    {'3', "\xb7\xa2\xcb\xcd\xca\xa7\xb0\xdc"},  // 发送失败
};

inline constexpr CCodeText kPledgeFlagCodes[] = {
    {'1', "\xb6\xa8\xbd\xf0"},                  // 定金
    {'2', "\xb5\xe7\xd7\xd3\xbb\xf5\xb5\xa5"},  // 电子货单
};

// A table with the record members whose codes it names; title and note are for documentation.
struct CCodeTable {
    std::string_view title;
    std::span<const std::string_view> members;
    std::string_view note;
    std::span<const CCodeText> codes;
};

inline constexpr std::string_view kAccountTypeMembers[] = {"accountType"};
inline constexpr std::string_view kDirectionMembers[] = {"buyOrSell"};
inline constexpr std::string_view kOffsetFlagMembers[] = {"offSetFlag", "offsetFlag"};
inline constexpr std::string_view kYesNoMembers[] = {"canUseInYq"};
inline constexpr std::string_view kOrderStatusMembers[] = {"status"};
inline constexpr std::string_view kPledgeFlagMembers[] = {"pledgeFlag"};

inline constexpr CCodeTable kCodeTables[] = {
    {"Order status", kOrderStatusMembers,
     "The digits are the client's own states of orders it parked (pre-orders); the exchange sends "
     "the letters.",
     kOrderStatusCodes},
    {"Direction", kDirectionMembers, "", kDirectionCodes},
    {"Offset flag", kOffsetFlagMembers, "", kOffsetFlagCodes},
    {"Pledge flag (guarantee)", kPledgeFlagMembers, "", kPledgeFlagCodes},
    {"Account type", kAccountTypeMembers, "", kAccountTypeCodes},
    {"Yes or no", kYesNoMembers, "", kYesNoCodes},
};

std::string AccountTypeText(char code);  // accountType: '0' 自营, '1' 代理
std::string DirectionText(char code);    // buyOrSell: 'b' 买, 's' 卖
std::string OffsetFlagText(char code);   // offSetFlag / offsetFlag: '0' 新订 ... '3' 协议状让
std::string YesNoText(char code);        // canUseInYq: '0' 否, '1' 是
std::string OrderStatusText(char code);  // status, and the digits of parked orders
std::string PledgeFlagText(char code);   // pledgeFlag: '1' 定金, '2' 电子货单

// accountType of a request from a GBK text: "自营" '0', "代理" '1', the empty text '*' (any),
// any other text the zero character. The whole text must match.
char AccountTypeFromText(std::string_view text);
// The code of "自营", the member's own account, which the capital and position queries and answers
// the client reads are about.
char SelfOperatedAccountType();

}  // namespace kvt
