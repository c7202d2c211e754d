// Shared by the pre-order tests: pre-orders as the order entry page hands them over, and the
// scratch files of tests/client/ScratchFiles.h.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScratchFiles.h"

#include "quorex/Records.h"
#include "quorex/Text.h"

namespace kvt::test {

// A deposit order (new, to buy by default) of client 00010011 in SR0601, as the entry page fills it.
inline TYqOrder ParkableOrder(double price = 2350, int amount = 5, char buyOrSell = 'b') {
    TYqOrder order{};
    quorex::SetText(order.clientID, "00010011");
    order.accountType = '0';
    quorex::SetText(order.instID, "SR0601");
    quorex::SetText(order.memberID, "0001");
    order.buyOrSell = buyOrSell;
    order.offSetFlag = '0';
    order.pledgeFlag = '1';
    order.price = price;
    order.amount = amount;
    quorex::SetText(order.traderID, "00010001");
    return order;
}

inline TYqFrznElctIndenture Indenture(const char* indentNo, int amount) {
    TYqFrznElctIndenture entry{};
    quorex::SetText(entry.indentNo, indentNo);
    entry.frznAmount = amount;
    return entry;
}

// The list of a deposit order: the ending entry alone.
inline std::vector<TYqFrznElctIndenture> DepositList() { return {TYqFrznElctIndenture{}}; }

}  // namespace kvt::test
