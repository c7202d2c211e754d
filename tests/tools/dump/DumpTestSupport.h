// Support for the quorex-dump tests: packages as the library receives them, flows written through
// the library's own classes in a scratch working directory, and the dump run in-process.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "api/ApiTestSupport.h"
#include "public/XTPFlow.h"
#include "quorex/Text.h"
#include "tools/dump/DumpCommand.h"

namespace quorex::test {

struct DumpResult {
    int code = -1;
    std::string out;
    std::string err;
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(out.substr(start, end - start));
        return lines;
    }
};

inline DumpResult Dump(std::vector<std::string_view> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    DumpResult result;
    result.code = dump::RunDump(arguments, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

inline TYqOrder Order(const char* orderNo, double price, std::int32_t amount) {
    TYqOrder order{};
    SetText(order.orderNo, orderNo);
    SetText(order.instID, "000001");
    order.buyOrSell = 'b';
    order.status = 'o';
    order.price = price;
    order.amount = amount;
    return order;
}

// A package as the library hands it on after receiving it: the window holds the 56-byte header
// and the content, the header is decoded, the definition found.
template <class... Records>
void Received(CXTPPackage& package, std::uint32_t tid, std::uint8_t series, std::uint32_t sequenceNo,
              const Records&... records) {
    CXTPPackage built;
    ASSERT_TRUE(built.Prepare(tid));
    const bool added = (built.AddRecord(records) && ...);
    ASSERT_TRUE(added);
    built.m_XTPHeader.SequenceSeries = series;
    built.m_XTPHeader.SequenceNo = sequenceNo;
    built.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(built.Length());
    ASSERT_TRUE(built.PrependHeader(built.m_XTPHeader));
    package.Assign(built.Address(), built.Length());
    ASSERT_GT(package.Parse(), 0);
}

class DumpTest : public CWorkingDirectoryTest {
protected:
    // n Yq order returns in an XTP flow "name.id"/"name.con" of series 1, order numbers from 1.
    static void WriteOrderFlow(const std::string& name, int n) {
        CXTPFlow flow((name + ".id").c_str(), (name + ".con").c_str(), false, 1);
        CXTPPackage package;
        for (int i = 1; i <= n; ++i) {
            ASSERT_TRUE(package.Prepare(0x00000033));
            ASSERT_TRUE(package.AddRecord(Order(std::to_string(i).c_str(), 3500, i)));
            flow.Append(package, 1700000000);
        }
    }
    static void WriteBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream file(name, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

}  // namespace quorex::test
