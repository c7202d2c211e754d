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

// How a successful login answer begins the user's trading day.
enum class ETradingDay {
    kNew,      // a new trading day: sync points reset, the received log started afresh
    kResumed,  // the same trading day: the received log holds its earlier packages, to be replayed
    kFailed,   // the user's files could not be used; the failure says why
};

// What the dispatcher needs from the session around it.
class CDispatchContext {
public:
    virtual ~CDispatchContext() = default;
    // A successful login response reported tradeDate for userId: open the received log for the
    // day (kept on the same trading day, started afresh with the sync points reset on a new one).
    // On kFailed, failure holds the code and text the login callback reports, and nothing of the
    // user's files was changed for the new day.
    virtual ETradingDay BeginTradingDay(const char* tradeDate, const char* userId, TTRspMsg& failure) = 0;
    // The login was refused or failed: the session is let go at once (so that a new login may start,
    // also from inside the login callback) and its connection closed, without a channel loss.
    virtual void AbandonSession() = 0;
    // Hands every package of the received log to the dispatcher again, in order.
    virtual void ReplayReceivedLog() = 0;
    // Answers the end of the standard data (sends tid::RspStandardDataSendOver on the dialog flow).
    virtual void AcknowledgeStandardData() = 0;
};

// Delivers the package; false when its type has no handler (it is then neither delivered nor
// logged). A login response without a decodable response field, or a successful one without its
// login record, raises CRuntimeError "无CXTPLoginRspField". A refused login, and one whose files
// cannot be used, is reported through the login callback after the session was abandoned.
bool DispatchPackage(CApi& api, CDispatchContext& context, const CXTPPackage& package);

}  // namespace quorex
