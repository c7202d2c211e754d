// The order record that the order entry form describes, its checks, and the indenture list that
// goes with it. Shared by the single order, the single pre-order and the batch panel, so that all
// of them build and check an order the same way.
//
// Thread contract: none (pure functions).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "client/pages/OrderFormView.h"
#include "quorex/Records.h"

namespace kvt {

// The order record's codes of an order kind and of a guarantee form.
struct COrderKindCodes {
    char buyOrSell;   // 'b' or 's'
    char offSetFlag;  // '0' 新订, '1' 转让
};
COrderKindCodes CodesOf(EOrderKind kind);
// The order kind with these codes; none for codes that name no order kind.
std::optional<EOrderKind> OrderKindOf(char buyOrSell, char offSetFlag);
char PledgeFlagOf(EGuarantee guarantee);  // '1' 定金, '2' 电子货单

// The form as the trader filled it in. Texts are UTF-8, except instID, which is the instrument
// lookup's 6-character code (empty when the instrument box names no known instrument).
struct COrderInput {
    std::string instID;
    std::string tradingCode;
    std::string price;
    std::string amount;
    EOrderKind kind = EOrderKind::BuyOpen;
    EGuarantee guarantee = EGuarantee::Deposit;
};

// A zeroed order with the trader's codes, clientID := memberID followed by the trading code, the
// instrument, amount and price as read from their texts, and the radios' codes. The local order
// number and everything the exchange fills stay empty.
TYqOrder BuildOrder(const COrderInput& input, const TTrader& trader);

// Why an order cannot go, and where the trader has to look.
struct COrderRefusal {
    std::string_view text;  // UTF-8
    EOrderControl focus;
};

// The missing instrument's text: the single order's, and the pre-orders' and the batch's.
inline constexpr std::string_view kEnterInstrumentText = "请先输入正确的商品代码!";
inline constexpr std::string_view kSelectInstrumentText = "请先选择商品代码!";
// More indentures than one order carries (CTraderApi::kMaxYqOrderIndentures): the indenture
// dialog takes no more.
inline constexpr std::string_view kTooManyIndenturesText = "一笔报单最多使用121张电子货单,请减少选择!";

// One command sends at most this many orders (a batch, a send of pre-orders).
inline constexpr int kMaxOrdersPerCommand = 20;
// "同时发送的报单数量不能超过20笔....."
std::string SendLimitText();

// The checks that every order of the form passes, in this order: instrument, trading code, price,
// amount. The first that fails is returned.
std::optional<COrderRefusal> CheckOrderFields(const TYqOrder& order, std::string_view missingInstrumentText);

// The indenture list of an order: for a deposit one empty entry; for electronic indentures one entry
// per chosen indenture (its indentNo, and its avaAmount as the amount to freeze), in the order
// chosen, then the empty entry that ends the list.
std::vector<TYqFrznElctIndenture> BuildIndentureList(char pledgeFlag, std::span<const TElctIndenture> chosen);

}  // namespace kvt
