#include "sim/Responses.h"

#include <array>

#include "quorex/Text.h"
#include "sim/Text.h"

namespace quorex::sim {
namespace {

struct CResultText {
    const char* code;
    const char* text;  // UTF-8 here, GBK on the wire
};

constexpr std::array<CResultText, static_cast<std::size_t>(Rsp::kCount)> kTexts = {{
    {"RSP000000", "成功"},
    {"ERR000001", "尚未登录"},
    {"ERR000002", "本连接已经登录"},
    {"ERR000003", "交易员代码不存在"},
    {"ERR000004", "监控员代码不存在"},
    {"ERR000005", "密码错误"},
    {"ERR000006", "会员代码与交易员不符"},
    {"ERR000007", "请求中的用户与登录用户不符"},
    {"ERR000008", "不支持的请求"},
    {"ERR000009", "新密码格式错误"},
    {"ERR000010", "无权进行此操作"},
    {"ERR001001", "合约不存在"},
    {"ERR001002", "合约当前不可交易"},
    {"ERR001003", "价格超出涨跌停板"},
    {"ERR001004", "价格不是最小变动价位的整数倍"},
    {"ERR001005", "数量超出单笔下单范围"},
    {"ERR001006", "本地报单号必须大于上一笔报单"},
    {"ERR001007", "交易代码不存在或不属于本会员"},
    {"ERR001008", "买卖、开平或担保方式代码错误"},
    {"ERR001009", "可用资金不足"},
    {"ERR001010", "电子货单不存在或可用数量不足"},
    {"ERR001011", "电子货单数量与报单数量不符"},
    {"ERR001012", "可转让订货量不足"},
    {"ERR001013", "报单不存在"},
    {"ERR001014", "报单已全部成交或已撤销"},
    {"ERR001015", "无权撤销此报单"},
    {"ERR002001", "交易状态代码错误"},
    {"ERR002002", "交易所代码不存在"},
    {"ERR002003", "市场代码不存在"},
    {"ERR002004", "交易员不在线"},
}};

std::array<TTRspMsg, kTexts.size()> BuildMessages() {
    std::array<TTRspMsg, kTexts.size()> messages{};
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        SetText(messages[i].RspCode, kTexts[i].code);
        SetText(messages[i].RspMsg, Utf8ToGbk(kTexts[i].text));
    }
    return messages;
}

}  // namespace

const TTRspMsg& RspMsgOf(Rsp result) {
    static const std::array<TTRspMsg, kTexts.size()> kMessages = BuildMessages();
    return kMessages[static_cast<std::size_t>(result)];
}

}  // namespace quorex::sim
