// A CExchange driven directly, without networking: requests are built and parsed as a server
// would hand them over, dialog packages are recorded per session, and sequenced packages are
// pulled the way a transport does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "public/XTPPackage.h"
#include "sim/Exchange.h"
#include "sim/RequestBuilder.h"
#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"
#include "sim/Text.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {

// One received package, kept in wire form.
struct CReceived {
    std::vector<std::uint8_t> wire;

    TXTPHeader Header() const {
        TXTPHeader header{};
        RecordTraits<TXTPHeader>::Decode(header, wire.data());
        return header;
    }
    std::uint32_t Tid() const { return Header().Tid; }
    // The records of one type, in package order (the order a client delivers them).
    template <class Record>
    std::vector<Record> Records() const {
        CXTPPackage package;
        package.Assign(wire.data(), wire.size());
        EXPECT_GE(package.Parse(), 0);
        std::vector<Record> records;
        for (int k = 0; k < package.GetField(RecordTraits<Record>::kFieldID).Count(); ++k) {
            Record record{};
            if (package.GetRecord(record, k)) records.push_back(record);
        }
        return records;
    }
    template <class Record>
    Record First() const {
        const std::vector<Record> records = Records<Record>();
        EXPECT_FALSE(records.empty()) << "no record in package " << std::hex << Tid();
        return records.empty() ? Record{} : records.front();
    }
    std::string RspCode() const { return std::string(FieldText(First<TTRspMsg>().RspCode)); }
};

class CRecordingOutput final : public CExchangeOutput {
public:
    void SendDialog(SessionId session, std::span<const std::uint8_t> package) override {
        dialog[session].push_back({{package.begin(), package.end()}});
    }
    void EndSession(SessionId session) override { ended.push_back(session); }
    void OnStaleSubscription(SessionId, int series, std::int32_t, std::uint32_t) override { staleSeries.push_back(series); }
    void OnLoggedIn(SessionId session, std::string_view role, std::string_view user) override {
        logins.push_back(std::to_string(session) + " " + std::string(role) + " " + std::string(user));
    }

    std::map<SessionId, std::vector<CReceived>> dialog;
    std::vector<std::string> logins;  // "1 trader 00010001"
    std::vector<SessionId> ended;
    std::vector<int> staleSeries;
};

class CFixedTime final : public CTimeOfDay {
public:
    void Format(char (&text)[9]) const override { std::memcpy(text, "10:30:00", 9); }
};

class CExchangeHarness {
public:
    // With a data directory the day is kept there (and carried on from it).
    explicit CExchangeHarness(std::string_view toml = DemoDayToml(), const std::filesystem::path& dataDir = {}) {
        std::string error;
        auto day = ParseTradingDay(toml, "test", "20260105", error);
        EXPECT_TRUE(day) << error;
        exchange = std::make_unique<CExchange>(std::move(*day), output, clock, dataDir);
    }

    // Builds a request with the given records (in definition order) and hands it to the exchange
    // as the server would: in wire form, parsed, in a pass of its own.
    template <class... Records>
    void Send(SessionId session, std::uint32_t tid, const Records&... records) {
        Hand(session, tid, records...);
        exchange->EndPass();
    }
    // The same, without ending the pass.
    template <class... Records>
    void Hand(SessionId session, std::uint32_t tid, const Records&... records) {
        CXTPPackage built;
        CXTPPackage request;
        ASSERT_TRUE(BuildRequest(built, request, tid, "req1", records...));
        exchange->Handle(session, request);
    }

    // The dialog packages the session got since the last call.
    std::vector<CReceived> TakeDialog(SessionId session) {
        std::vector<CReceived> taken = std::move(output.dialog[session]);
        output.dialog[session].clear();
        return taken;
    }
    // The single answer the session got since the last call.
    CReceived Answer(SessionId session) {
        std::vector<CReceived> taken = TakeDialog(session);
        EXPECT_EQ(taken.size(), 1u);
        return taken.empty() ? CReceived{} : taken.back();
    }
    // Everything the session's flows hold for it now, as a transport would pull it.
    std::vector<CReceived> Drain(SessionId session) {
        std::vector<CReceived> pulled;
        for (auto package = exchange->NextPackage(session); !package.empty(); package = exchange->NextPackage(session)) {
            pulled.push_back({{package.begin(), package.end()}});
        }
        return pulled;
    }

    // Logs a trader in with subscription points (private, member, market) kept on tradeDate (by
    // default the exchange's) and returns the answer; the reference data is dropped.
    CReceived LoginTrader(SessionId session, const char* traderID, const char* password, std::int32_t privatePoint = 0,
                          std::int32_t memberPoint = 0, std::int32_t marketPoint = 0, const char* tradeDate = nullptr) {
        TReqTraderLogin login{};
        SetText(login.traderID, traderID);
        SetText(login.memberID, std::string_view(traderID, 4));
        SetText(login.password, quorex::PasswordDigest(password));
        SetText(login.tradeDate, tradeDate != nullptr ? std::string(tradeDate) : exchange->Day().tradeDate);
        Send(session, tid::ReqTraderLogin, login, TSequencePoint{3, privatePoint}, TSequencePoint{2, memberPoint},
             TSequencePoint{4, marketPoint});
        std::vector<CReceived> taken = TakeDialog(session);
        return taken.empty() ? CReceived{} : taken.front();
    }
    CReceived LoginMonitor(SessionId session, const char* userID = "admin001", const char* password = "admin1") {
        TReqUserLogin login{};
        SetText(login.userID, userID);
        SetText(login.password, quorex::PasswordDigest(password));
        Send(session, tid::ReqUserLogin, login, TSequencePoint{3, 0}, TSequencePoint{2, 0}, TSequencePoint{4, 0});
        std::vector<CReceived> taken = TakeDialog(session);
        return taken.empty() ? CReceived{} : taken.front();
    }

    // A deposit order of trader (member = its first 4 characters) for client on an instrument.
    static TYqOrder Order(const char* traderID, const char* clientID, const char* instID, char side, double price, int amount,
                          long long localOrderNo, char offset = '0', char pledge = '1') {
        TYqOrder order{};
        SetText(order.traderID, traderID);
        SetText(order.memberID, std::string_view(traderID, 4));
        SetText(order.clientID, clientID);
        SetText(order.instID, instID);
        order.buyOrSell = side;
        order.offSetFlag = offset;
        order.pledgeFlag = pledge;
        order.price = price;
        order.amount = amount;
        const std::string number = std::to_string(localOrderNo);
        SetText(order.localOrderNo, std::string(14 - number.size(), '0') + number);
        return order;
    }
    // Places an order without indentures and returns its answer.
    CReceived Place(SessionId session, const TYqOrder& order) {
        Send(session, tid::ReqYqOrder, order);
        return Answer(session);
    }

    CRecordingOutput output;
    CFixedTime clock;
    std::unique_ptr<CExchange> exchange;
};

// The packages of one type among received ones.
inline std::vector<CReceived> OfType(const std::vector<CReceived>& packages, std::uint32_t tid) {
    std::vector<CReceived> found;
    for (const CReceived& package : packages) {
        if (package.Tid() == tid) found.push_back(package);
    }
    return found;
}

}  // namespace quorex::sim::test
