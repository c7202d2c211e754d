// The identifier column of the package catalogue, checked against the names it translates and the
// request and callback tables that name the same package types, so that a new or edited row
// cannot give a package type a misleading name.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "public/PackageDefinition.h"
#include "public/PackageTypes.h"

using namespace quorex;

namespace {

struct Row {
    std::uint32_t tid;
    std::string_view identifier;
    std::string_view name;
};

#define QX_PACKAGE(tid, identifier, name, ...) Row{tid, #identifier, name},
constexpr Row kRows[] = {
#include "api/packages.def"
};
#undef QX_PACKAGE

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::map<std::uint32_t, std::string_view> IdentifiersByTid() {
    std::map<std::uint32_t, std::string_view> byTid;
    for (const Row& row : kRows) byTid.emplace(row.tid, row.identifier);
    return byTid;
}

// The kind prefix the name's last word asks for, or "" for a name without one.
std::string_view KindPrefix(std::string_view name) {
    if (EndsWith(name, "信息回报")) return "";
    if (EndsWith(name, "请求")) return "Req";
    if (EndsWith(name, "应答") || EndsWith(name, "响应")) return "Rsp";
    if (EndsWith(name, "回报")) return "Rtn";
    if (EndsWith(name, "通知")) return "Ntf";
    return "";
}

}  // namespace

TEST(PackageTypes, EveryRowHasItsOwnIdentifierAndTheConstantsAreItsTids) {
    std::set<std::string_view> identifiers;
    for (const Row& row : kRows) EXPECT_TRUE(identifiers.insert(row.identifier).second) << row.identifier;
    EXPECT_EQ(identifiers.size(), AllPackageDefinitions().size());

    EXPECT_STREQ(FindPackageDefinition(tid::ReqTraderLogin)->name, "交易员登录请求");
    EXPECT_STREQ(FindPackageDefinition(tid::RspTraderLogin)->name, "交易员登录应答");
    EXPECT_STREQ(FindPackageDefinition(tid::RtnYqMatch)->name, "双向竞价成交回报");
    EXPECT_STREQ(FindPackageDefinition(tid::NtfExchangeStateUpdate)->name, "交易中心交易状态改变通知");
    EXPECT_STREQ(FindPackageDefinition(tid::YqQuotation)->name, "双向竞价行情");
    EXPECT_STREQ(FindPackageDefinition(tid::MarketInfo)->name, "市场信息回报");
    EXPECT_STREQ(FindPackageDefinition(tid::DeleteGpInst)->name, "删除在线挂牌合约");
    EXPECT_EQ(tid::RspStandardDataSendOver, tid::ReqStandardDataSendOver + 1);
}

TEST(PackageTypes, TheIdentifierSaysTheKindOfPackage) {
    for (const Row& row : kRows) {
        const std::string_view prefix = KindPrefix(row.name);
        if (!prefix.empty()) {
            EXPECT_TRUE(StartsWith(row.identifier, prefix)) << row.identifier << " " << row.name;
            continue;
        }
        for (std::string_view kind : {"Req", "Rsp", "Rtn", "Ntf"})
            EXPECT_FALSE(StartsWith(row.identifier, kind) && std::isupper(row.identifier[3]))
                << row.identifier << " " << row.name;
        if (EndsWith(row.name, "信息回报")) {
            EXPECT_TRUE(EndsWith(row.identifier, "Info")) << row.identifier;
        }
        if (EndsWith(row.name, "行情")) {
            EXPECT_TRUE(EndsWith(row.identifier, "Quotation")) << row.identifier;
        }
    }
}

TEST(PackageTypes, AResponseTakesItsRequestsName) {
    const auto byTid = IdentifiersByTid();
    int pairs = 0;
    for (const Row& row : kRows) {
        if (!StartsWith(row.identifier, "Req")) continue;
        const auto answer = byTid.find(row.tid + 1);
        if (answer == byTid.end()) continue;
        EXPECT_EQ(std::string(answer->second), "Rsp" + std::string(row.identifier.substr(3))) << row.identifier;
        ++pairs;
    }
    EXPECT_GE(pairs, 84);  // every application request has its response at T+1
}

TEST(PackageTypes, RequestMethodsSendThePackageTypeOfTheirName) {
    const auto byTid = IdentifiersByTid();
    int methods = 0;
    // The list forms send the same package type as the single form, under the name plus "Ex".
    const auto check = [&](std::string_view method, std::uint32_t tid) {
        ++methods;
        const auto row = byTid.find(tid);
        ASSERT_NE(row, byTid.end()) << method;
        EXPECT_TRUE(method == row->second || method == std::string(row->second) + "Ex") << method << " " << row->second;
    };
#define QX_REQUEST(owner, method, tid, ...) check(#method, tid);
#define QX_REQUEST_PAIR(owner, method, tid, ...) check(#method, tid);
#define QX_REQUEST_LIST(owner, method, tid, ...) check(#method, tid);
#include "quorex/requests.def"
#undef QX_REQUEST
#undef QX_REQUEST_PAIR
#undef QX_REQUEST_LIST
    EXPECT_GT(methods, 100);
}

TEST(PackageTypes, CallbacksReceiveThePackageTypeOfTheirName) {
    const auto byTid = IdentifiersByTid();
    int callbacks = 0;
    // A notice's callback drops the "Ntf"; one callback's name keeps a misspelling of its own that
    // the binary interface fixes.
    const auto check = [&](std::string_view callback, std::uint32_t tid) {
        ++callbacks;
        const auto row = byTid.find(tid);
        ASSERT_NE(row, byTid.end()) << callback;
        std::string expected = "onRecv" + std::string(StartsWith(row->second, "Ntf") ? row->second.substr(3) : row->second);
        if (expected == "onRecvRspMarketStateUpdate") expected = "onRecvRspMarketeStateUpdate";
        EXPECT_EQ(std::string(callback), expected);
    };
#define QX_CALLBACK(slot, callback, Record, tid, ...) check(#callback, tid);
#include "quorex/callbacks.def"
#undef QX_CALLBACK
    EXPECT_EQ(callbacks, 137);
}
