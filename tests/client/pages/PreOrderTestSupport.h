// Shared by the pre-order tests: a scratch directory that goes with the test, and pre-orders as
// the order entry page hands them over.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "quorex/Records.h"
#include "quorex/Text.h"

namespace kvt::test {

class CScratchDirectory {
public:
    CScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "preorders-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no scratch directory";
        m_path = pattern;
    }
    ~CScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CScratchDirectory(const CScratchDirectory&) = delete;
    CScratchDirectory& operator=(const CScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string Name() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

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
