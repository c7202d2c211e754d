// The dispatcher: turns one received package into calls of the owner's callbacks, by package
// type as callbacks.def lists them. Runs on the reactor thread of the API object.
//
// Response packages (0xA0FF present) deliver the exchange's code and text; returns, notices and
// quotations deliver "RSP000000"/"交易成功"; a package without its record gives one call with a
// null record and ChainFlag 'O'. ChainFlag is 'L' on the last record of the last package of an
// answer and 'C' before it; a refused response and the system error notice carry 'L', and a
// package whose Chain is none of 'S', 'L' and 'N' is treated like 'S'.
#pragma once

#include "public/XTPPackage.h"
#include "quorex/Api.h"

namespace quorex {

// What the dispatcher needs from the session around it.
class CDispatchContext {
public:
    virtual ~CDispatchContext() = default;
    // A successful login response reported tradeDate for userId: open the received log for the
    // day (kept on the same trading day, started afresh with the sync points reset on a new one).
    // True when the log holds the day's earlier packages and must be replayed after the login
    // callback.
    virtual bool BeginTradingDay(const char* tradeDate, const char* userId) = 0;
    // Hands every package of the received log to the dispatcher again, in order.
    virtual void ReplayReceivedLog() = 0;
    // Answers the end of the standard data (sends tid::RspStandardDataSendOver on the dialog flow).
    virtual void AcknowledgeStandardData() = 0;
};

// Delivers the package; false when its type has no handler (it is then neither delivered nor
// logged). A login response without a decodable response field, or a successful one without its
// login record, raises CRuntimeError "无CXTPLoginRspField".
bool DispatchPackage(CApi& api, CDispatchContext& context, const CXTPPackage& package);

}  // namespace quorex
