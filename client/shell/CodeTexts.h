// The texts the client shows for the one-character codes of the exchange's records, and the one
// reverse conversion. Texts are GBK, like the records; quorex::GbkToUtf8 converts them for
// display. A code outside a table, the zero character included, yields kUndefinedCodeText.
#pragma once

#include <string>
#include <string_view>

namespace kvt {

// "未定义常量"
inline constexpr std::string_view kUndefinedCodeText = "\xce\xb4\xb6\xa8\xd2\xe5\xb3\xa3\xc1\xbf";

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
