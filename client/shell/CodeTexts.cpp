// The code tables. Each text is written as its GBK bytes, with the text itself in the comment.
#include "client/shell/CodeTexts.h"

#include <initializer_list>

namespace kvt {

namespace {

struct CCodeText {
    char code;
    std::string_view text;
};

std::string Lookup(std::initializer_list<CCodeText> table, char code) {
    for (const CCodeText& entry : table) {
        if (entry.code == code) return std::string(entry.text);
    }
    return std::string(kUndefinedCodeText);
}

constexpr std::string_view kSelfOperated = "\xd7\xd4\xd3\xaa";  // 自营
constexpr std::string_view kAgency = "\xb4\xfa\xc0\xed";        // 代理

}  // namespace

std::string AccountTypeText(char code) { return Lookup({{'0', kSelfOperated}, {'1', kAgency}}, code); }

std::string DirectionText(char code) {
    return Lookup({{'b', "\xc2\xf2"},  // 买
                   {'s', "\xc2\xf4"}},  // 卖
                  code);
}

std::string OffsetFlagText(char code) {
    return Lookup({{'0', "\xd0\xc2\xb6\xa9"},                  // 新订
                   {'1', "\xd7\xaa\xc8\xc3"},                  // 转让
                   {'2', "\xc7\xbf\xd6\xc6\xd7\xaa\xc8\xc3"},  // 强制转让
                   {'3', "\xd0\xad\xd2\xe9\xd7\xb4\xc8\xc3"}},  // 协议状让
                  code);
}

std::string YesNoText(char code) {
    return Lookup({{'0', "\xb7\xf1"},  // 否
                   {'1', "\xca\xc7"}},  // 是
                  code);
}

std::string OrderStatusText(char code) {
    return Lookup({{'o', "\xce\xb4\xb3\xc9\xbd\xbb"},          // 未成交
                   {'p', "\xb2\xbf\xb7\xd6\xb3\xc9\xbd\xbb"},  // 部分成交
                   {'c', "\xcd\xea\xc8\xab\xb3\xc9\xbd\xbb"},  // 完全成交
                   {'d', "\xd3\xc3\xbb\xa7\xb3\xb7\xcf\xfb"},  // 用户撤消
                   {'f', "\xc7\xbf\xd6\xc6\xb3\xb7\xcf\xfb"},  // 强制撤消
                   {'1', "\xd4\xa4\xc2\xf1"},                  // 预埋
                   {'2', "\xb7\xa2\xcb\xcd\xd6\xd0"},          // 发送中
                   {'3', "\xb7\xa2\xcb\xcd\xca\xa7\xb0\xdc"}},  // 发送失败
                  code);
}

std::string PledgeFlagText(char code) {
    return Lookup({{'1', "\xb6\xa8\xbd\xf0"},                  // 定金
                   {'2', "\xb5\xe7\xd7\xd3\xbb\xf5\xb5\xa5"}},  // 电子货单
                  code);
}

char AccountTypeFromText(std::string_view text) {
    if (text == kSelfOperated) return '0';
    if (text == kAgency) return '1';
    if (text.empty()) return '*';
    return '\0';
}

char SelfOperatedAccountType() { return AccountTypeFromText(kSelfOperated); }

}  // namespace kvt
