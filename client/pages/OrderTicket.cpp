// Building and checking the form's order record.
#include "client/pages/OrderTicket.h"

#include "client/shell/DisplayFormats.h"
#include "quorex/Text.h"

namespace kvt {

COrderKindCodes CodesOf(EOrderKind kind) {
    switch (kind) {
        case EOrderKind::BuyOpen: return {'b', '0'};
        case EOrderKind::BuyOffset: return {'b', '1'};
        case EOrderKind::SellOpen: return {'s', '0'};
        case EOrderKind::SellOffset: return {'s', '1'};
    }
    return {'b', '0'};
}

std::optional<EOrderKind> OrderKindOf(char buyOrSell, char offSetFlag) {
    for (EOrderKind kind : {EOrderKind::BuyOpen, EOrderKind::SellOpen, EOrderKind::SellOffset, EOrderKind::BuyOffset}) {
        const COrderKindCodes codes = CodesOf(kind);
        if (codes.buyOrSell == buyOrSell && codes.offSetFlag == offSetFlag) return kind;
    }
    return std::nullopt;
}

char PledgeFlagOf(EGuarantee guarantee) { return guarantee == EGuarantee::Indenture ? '2' : '1'; }

TYqOrder BuildOrder(const COrderInput& input, const TTrader& trader) {
    TYqOrder order{};
    quorex::SetText(order.traderID, quorex::FieldText(trader.traderID));
    quorex::SetText(order.memberID, quorex::FieldText(trader.memberID));
    std::string clientID(quorex::FieldText(trader.memberID).substr(0, 8));
    clientID += quorex::Utf8ToGbk(input.tradingCode);
    quorex::SetText(order.clientID, clientID);
    quorex::SetText(order.instID, input.instID);
    order.amount = ParseInt(input.amount.c_str());
    order.price = ParseDouble(input.price.c_str());
    const COrderKindCodes codes = CodesOf(input.kind);
    order.buyOrSell = codes.buyOrSell;
    order.offSetFlag = codes.offSetFlag;
    order.pledgeFlag = PledgeFlagOf(input.guarantee);
    return order;
}

std::optional<COrderRefusal> CheckOrderFields(const TYqOrder& order, std::string_view missingInstrumentText) {
    if (order.instID[0] == '\0') return COrderRefusal{missingInstrumentText, EOrderControl::Instrument};
    if (quorex::FieldText(order.clientID) == quorex::FieldText(order.memberID)) {
        return COrderRefusal{"请先输入交易代码!", EOrderControl::TradingCode};
    }
    if (order.price == 0) return COrderRefusal{"请先输入价格!", EOrderControl::Price};
    if (order.amount == 0) return COrderRefusal{"请先输入数量!", EOrderControl::Amount};
    return std::nullopt;
}

std::vector<TYqFrznElctIndenture> BuildIndentureList(char pledgeFlag, std::span<const TElctIndenture> chosen) {
    std::vector<TYqFrznElctIndenture> list;
    if (pledgeFlag == '2') {
        list.reserve(chosen.size() + 1);
        for (const TElctIndenture& indenture : chosen) {
            TYqFrznElctIndenture entry{};
            quorex::SetText(entry.indentNo, quorex::FieldText(indenture.indentNo));
            entry.frznAmount = indenture.avaAmount;
            list.push_back(entry);
        }
    }
    list.push_back(TYqFrznElctIndenture{});
    return list;
}

std::string SendLimitText() {
    return "同时发送的报单数量不能超过" + FormatInteger(kMaxOrdersPerCommand) + "笔.....";
}

}  // namespace kvt
