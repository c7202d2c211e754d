#include "api/APIHandler.h"

#include <cstring>

#include "api/ApiTexts.h"
#include "public/ErrorReport.h"
#include "public/PackageTypes.h"
#include "quorex/Errors.h"

namespace quorex {
namespace {

template <class Record>
using Callback = void (CApi::*)(const Record*, const TTRspMsg*, const char*);

void SetResult(TTRspMsg& rsp, const char* code, const char* message) {
    std::strcpy(rsp.RspCode, code);
    std::strcpy(rsp.RspMsg, message);
}

bool IsSuccess(const TTRspMsg& rsp) { return std::strcmp(rsp.RspCode, kRspSuccess) == 0; }

char ChainFlagOf(char chain, int index, int count) {
    if (chain == 'N') return 'C';
    return index == count - 1 ? 'L' : 'C';
}

// Calls the callback once per record of the package's first field, in package order.
template <class Record>
void DeliverRecords(CApi& api, const CXTPPackage& package, TTRspMsg& rsp, Callback<Record> callback) {
    using Traits = RecordTraits<Record>;
    const CFieldRange range = package.GetField(Traits::kFieldID);
    const int count = range.Descriptor() == &Traits::kDescriptor ? range.Count() : 0;
    Record record{};
    for (int i = 0; i < count; ++i) {
        rsp.ChainFlag = ChainFlagOf(package.m_XTPHeader.Chain, i, count);
        Traits::Decode(record, range.Data(i).data());
        (api.*callback)(&record, &rsp, package.m_XTPHeader.RootID);
    }
}

template <class Record>
int CountRecords(const CXTPPackage& package) {
    const CFieldRange range = package.GetField(RecordTraits<Record>::kFieldID);
    return range.Descriptor() == &RecordTraits<Record>::kDescriptor ? range.Count() : 0;
}

template <class Record>
bool HandleRESPONSE(CApi& api, CDispatchContext&, const CXTPPackage& package, Callback<Record> callback) {
    TTRspMsg rsp{};
    if (!package.GetRecord(rsp)) SetResult(rsp, kRspNoData, kRspNoResponseField);
    if (!IsSuccess(rsp)) {
        rsp.ChainFlag = 'L';
        (api.*callback)(nullptr, &rsp, nullptr);
    } else if (CountRecords<Record>(package) == 0) {
        rsp.ChainFlag = 'O';
        (api.*callback)(nullptr, &rsp, nullptr);
    } else {
        DeliverRecords(api, package, rsp, callback);
    }
    return true;
}

template <class Record>
bool HandleDELIVERY(CApi& api, CDispatchContext&, const CXTPPackage& package, Callback<Record> callback) {
    TTRspMsg rsp{};
    if (CountRecords<Record>(package) == 0) {
        rsp.ChainFlag = 'O';
        SetResult(rsp, kRspNoData, kRspNoDataText);
        (api.*callback)(nullptr, &rsp, nullptr);
    } else {
        SetResult(rsp, kRspSuccess, kRspSuccessText);
        DeliverRecords(api, package, rsp, callback);
    }
    return true;
}

const char* UserIdOf(const TReqTraderLogin& login) { return login.traderID; }
const char* UserIdOf(const TReqUserLogin& login) { return login.userID; }

template <class Record>
bool HandleLOGIN(CApi& api, CDispatchContext& context, const CXTPPackage& package, Callback<Record> callback) {
    TTRspMsg rsp{};
    if (!package.GetRecord(rsp)) throw CRuntimeError(kNoLoginResponseField, kModuleApi, __LINE__);
    rsp.ChainFlag = 'L';
    Record login{};
    const bool hasRecord = package.GetRecord(login);
    if (!IsSuccess(rsp)) {
        context.AbandonSession();
        (api.*callback)(&login, &rsp, nullptr);
        return true;
    }
    if (!hasRecord) throw CRuntimeError(kNoLoginResponseField, kModuleApi, __LINE__);
    TTRspMsg failure{};
    const ETradingDay day = context.BeginTradingDay(login.tradeDate, UserIdOf(login), failure);
    if (day == ETradingDay::kFailed) {
        context.AbandonSession();
        failure.ChainFlag = 'L';
        (api.*callback)(&login, &failure, nullptr);
        return true;
    }
    (api.*callback)(&login, &rsp, package.m_XTPHeader.RootID);
    if (day == ETradingDay::kResumed) context.ReplayReceivedLog();
    return true;
}

bool HandleSystemError(CApi& api, const CXTPPackage& package) {
    TSysError error{};
    if (!package.GetRecord(error)) return true;
    TTRspMsg rsp{};
    rsp.ChainFlag = 'L';
    std::memcpy(rsp.RspCode, error.RspCode, sizeof rsp.RspCode);
    std::memcpy(rsp.RspMsg, error.RspMsg, sizeof rsp.RspMsg);
    api.onRecvSysErrorNtf(&rsp);
    return true;
}

}  // namespace

bool DispatchPackage(CApi& api, CDispatchContext& context, const CXTPPackage& package) {
    switch (package.m_XTPHeader.Tid) {
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) \
    case Tid:                                          \
        return Handle##kind<Record>(api, context, package, &CApi::name);
#include "quorex/callbacks.def"
#undef QX_CALLBACK
    case tid::NtfSysError:
        return HandleSystemError(api, package);
    case tid::ReqStandardDataSendOver:
        context.AcknowledgeStandardData();
        api.onRecvReqSendOver();
        return true;
    case tid::ReqSysInit:
        Log(LogLevel::kDiagnostic, "Rcv Sys_INIT_PACKAGE!!!!!\n");
        return true;
    default:
        return false;
    }
}

}  // namespace quorex
