// OwnCapitalQuery: member code and the own account's code.
#include "client/shell/CapitalQuery.h"

#include "client/shell/CodeTexts.h"
#include "quorex/Text.h"

namespace kvt {

TReqQryMemberCapital OwnCapitalQuery(const TTrader& trader) {
    TReqQryMemberCapital query{};
    quorex::SetText(query.memberID, quorex::FieldText(trader.memberID));
    query.accountType = SelfOperatedAccountType();
    return query;
}

}  // namespace kvt
