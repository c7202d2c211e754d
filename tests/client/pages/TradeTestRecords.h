// Orders, matches and instruments for the tests of the order and match pages, and a list
// observer that records what a page told its model.
#pragma once

#include <string>
#include <vector>

#include "client/shell/ListRows.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/Records.h"
#include "quorex/Text.h"

namespace kvt::test {

inline TYqOrder MakeOrder(const char* orderNo, char status, const char* applyTime = "09:30:00") {
    TYqOrder order{};
    quorex::SetText(order.orderNo, orderNo);
    quorex::SetText(order.clientID, "00010001");
    order.accountType = '0';
    quorex::SetText(order.instID, "000001");
    quorex::SetText(order.memberID, "0001");
    order.buyOrSell = 'b';
    quorex::SetText(order.applyDate, "20260105");
    quorex::SetText(order.applyTime, applyTime);
    order.offSetFlag = '0';
    order.pledgeFlag = '1';
    order.price = 2350.0;
    order.amount = 10;
    order.remainAmount = 10;
    order.status = status;
    quorex::SetText(order.localOrderNo, "00000000000042");
    quorex::SetText(order.traderID, "00010001");
    return order;
}

inline TYqMatch MakeMatch(const char* matchNo, char buyOrSell, const char* orderNo, int volume = 5,
                          double offsetProfit = 0.0) {
    TYqMatch match{};
    quorex::SetText(match.matchNo, matchNo);
    match.buyOrSell = buyOrSell;
    quorex::SetText(match.clientID, "00010001");
    match.accountType = '0';
    quorex::SetText(match.instID, "000001");
    quorex::SetText(match.memberID, "0001");
    match.offsetFlag = '1';
    match.pledgeFlag = '2';
    match.price = 2351.0;
    match.volume = volume;
    match.offsetProfit = offsetProfit;
    quorex::SetText(match.orderNo, orderNo);
    quorex::SetText(match.matchDate, "20260105");
    quorex::SetText(match.matchTime, "09:31:00");
    quorex::SetText(match.traderID, "00010001");
    quorex::SetText(match.localOrderNo, "00000000000042");
    return match;
}

// The order entry page's instrument table with one instrument: 000001 is SR0601.
class CTestInstruments {
public:
    CTestInstruments() {
        TYuanQiInst instrument{};
        quorex::SetText(instrument.instID, "000001");
        quorex::SetText(instrument.yqInstID, "SR0601");
        table.Insert(instrument);
    }
    CTypedRecordTable<TYuanQiInst> table{{&CompareInstrumentKey}};
};

// Every notification as a short line: "insert 3+1", "remove 2+1", "changed 0-0", "show 3".
class CRowJournal : public CListObserver {
public:
    std::vector<std::string> events;

    void BeginInsert(int first, int count) override { events.push_back(Range("insert", first, count)); }
    void EndInsert() override {}
    void BeginRemove(int first, int count) override { events.push_back(Range("remove", first, count)); }
    void EndRemove() override {}
    void RowsChanged(int first, int last) override {
        events.push_back("changed " + std::to_string(first) + "-" + std::to_string(last));
    }
    void BeginReset() override { events.push_back("reset"); }
    void EndReset() override {}
    void ShowRow(int row) override { events.push_back("show " + std::to_string(row)); }

    std::vector<std::string> Take() {
        std::vector<std::string> taken = std::move(events);
        events.clear();
        return taken;
    }

private:
    static std::string Range(const char* what, int first, int count) {
        return std::string(what) + " " + std::to_string(first) + "+" + std::to_string(count);
    }
};

}  // namespace kvt::test
