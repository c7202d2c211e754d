// The login of the API tests against CFakeExchange: the caller's login record, the exchange's
// answer, and the subscription points a login package carries.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "api/FakeExchange.h"
#include "public/FlowSeries.h"
#include "public/PackageTypes.h"

namespace quorex::test {

inline TReqTraderLogin LoginRecord(const char* traderId = "T001") {
    TReqTraderLogin login{};
    std::strcpy(login.traderID, traderId);
    std::strcpy(login.memberID, "0001");
    std::strcpy(login.password, "0123456789abcdef0123456789abcdef");
    std::strcpy(login.ipAddress, "127.0.0.1");
    std::strcpy(login.clientID, "ignored");
    login.machineID = 99;
    return login;
}

inline void AnswerLogin(CFakeExchange& exchange, const char* tradeDate, const char* code = "RSP000000") {
    TReqTraderLogin answer = LoginRecord();
    std::strcpy(answer.tradeDate, tradeDate);
    TTRspMsg rsp{};
    std::strcpy(rsp.RspCode, code);
    exchange.Send(tid::RspTraderLogin, kDialogSeries, 0, [&](CXTPPackage& package) {
        package.AddRecord(answer);
        package.AddRecord(rsp);
    }, 'S', "login");
}

inline void SendOrderReturn(CFakeExchange& exchange, std::uint32_t sequenceNo, const char* orderNo) {
    TYqOrder order{};
    std::strcpy(order.orderNo, orderNo);
    std::strcpy(order.instID, "HR0612");
    exchange.Send(tid::RtnYqOrder, kPrivateSeries, sequenceNo, [&](CXTPPackage& package) { package.AddRecord(order); });
}

// The subscription points of a received login package, by series (index 2 member, 3 private,
// 4 market).
inline std::vector<std::int32_t> SubscriptionPoints(const CXTPPackage& login) {
    std::vector<std::int32_t> points(5, -1);
    for (int i = 0; i < login.GetField(0xA0FE).Count(); ++i) {
        TSequencePoint point{};
        login.GetRecord(point, i);
        if (point.sequenceSeries >= 2 && point.sequenceSeries <= 4) points[point.sequenceSeries] = point.sequenceNo;
    }
    return points;
}

}  // namespace quorex::test
