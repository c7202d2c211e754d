// quorex-dump on flows the library wrote itself: the received-package log and plain XTP flows.
#include <gtest/gtest.h>

#include "api/ReceivedLog.h"
#include "tools/dump/DumpTestSupport.h"

using namespace quorex;
using namespace quorex::test;

namespace {

class ReceivedLogDump : public DumpTest {
protected:
    // The log of trader T1 with an order return, a market information return (GBK name) and an
    // order response with its response field and request ID, as the dispatcher appends them.
    void SetUp() override {
        DumpTest::SetUp();
        CReceivedLog log;
        log.Open("T1", false);
        CXTPPackage package;
        Received(package, 0x00000033, 3, 41, Order("00000007", 3500.5, 2));
        log.Append(package);

        TMarket market{};
        SetText(market.marketID, "01");
        SetText(market.marketName, Utf8ToGbk("双向竞价"));
        market.type = '1';
        Received(package, 0x000009F3, 4, 9, market);
        log.Append(package);

        TTRspMsg rsp{};
        SetText(rsp.RspCode, "RSP000000");
        SetText(rsp.RspMsg, Utf8ToGbk("交易成功"));
        Received(package, 0x000000F2, 2, 3, Order("00000008", -0.25, 1), rsp);
        package.m_XTPHeader.Chain = 'L';
        package.SetRootID("req1");
        log.Append(package);
    }
};

TEST_F(ReceivedLogDump, OneLinePerPackageWithItsRecordsInUtf8) {
    const DumpResult result = Dump({"logT1.con"});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const std::vector<std::string> lines = result.Lines();
    ASSERT_EQ(lines.size(), 3u);

    // The log numbers what it stores in its own series, from 1.
    EXPECT_TRUE(lines[0].starts_with("seq=1 tid=0x00000033 双向竞价报单回报 time=")) << lines[0];
    EXPECT_NE(lines[0].find(" chain='S' TYqOrder{orderNo=\"00000007\" clientID=\"\" accountType='' instID=\"000001\""),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[0].find(" buyOrSell='b' "), std::string::npos);
    EXPECT_NE(lines[0].find(" price=3500.5 amount=2 remainAmount=0 status='o' "), std::string::npos) << lines[0];
    EXPECT_TRUE(lines[0].ends_with(" cancelID=\"\"}")) << lines[0];
    EXPECT_EQ(lines[0].find("root="), std::string::npos);

    EXPECT_TRUE(lines[1].starts_with("seq=2 tid=0x000009F3 市场信息回报 ")) << lines[1];
    EXPECT_NE(lines[1].find(" TMarket{marketID=\"01\" marketName=\"双向竞价\" marketAbbr=\"\""), std::string::npos)
        << lines[1];

    // Records in definition order (the record, then the response field), header chain and root.
    EXPECT_TRUE(lines[2].starts_with("seq=3 tid=0x000000F2 双向竞价报单应答 ")) << lines[2];
    EXPECT_NE(lines[2].find(" chain='L' root=\"req1\" TYqOrder{orderNo=\"00000008\""), std::string::npos) << lines[2];
    EXPECT_NE(lines[2].find(" price=-0.25 "), std::string::npos);
    EXPECT_NE(lines[2].find("} TTRspMsg{RspCode=\"RSP000000\" RspMsg=\"交易成功\"}"), std::string::npos) << lines[2];
}

TEST_F(ReceivedLogDump, EveryWayOfNamingThePairGivesTheSameLines) {
    const DumpResult byContent = Dump({"logT1.con"});
    ASSERT_EQ(byContent.code, 0);
    EXPECT_EQ(Dump({"logT1.id"}).out, byContent.out);
    EXPECT_EQ(Dump({"logT1"}).out, byContent.out);
    EXPECT_EQ(Dump({"logT1.id", "logT1.con"}).out, byContent.out);
}

TEST_F(ReceivedLogDump, TidFilterKeepsOnlyTheNamedTypes) {
    DumpResult result = Dump({"--tid", "9f3", "logT1"});
    ASSERT_EQ(result.code, 0) << result.err;
    ASSERT_EQ(result.Lines().size(), 1u);
    EXPECT_TRUE(result.Lines()[0].starts_with("seq=2 "));

    result = Dump({"--tid=0x33,0x000000F2", "logT1"});
    ASSERT_EQ(result.Lines().size(), 2u);
    EXPECT_TRUE(result.Lines()[0].starts_with("seq=1 "));
    EXPECT_TRUE(result.Lines()[1].starts_with("seq=3 "));

    result = Dump({"--tid", "33", "--tid", "9F3", "logT1"});
    EXPECT_EQ(result.Lines().size(), 2u);
    // A known type that the log does not hold prints nothing, successfully.
    result = Dump({"--tid", "0x143", "logT1"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "");
}

TEST_F(DumpTest, EmptyLogPrintsNothing) {
    CReceivedLog log;
    log.Open("T2", false);
    const DumpResult result = Dump({"logT2"});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "");
}

// The id file gets an entry every 100 records; flows ending on and between entries both check out.
TEST_F(DumpTest, IndexedFlowsAreReadWhole) {
    for (const int count : {99, 100, 200, 250}) {
        const std::string name = "orders" + std::to_string(count);
        WriteOrderFlow(name, count);
        const DumpResult result = Dump({name});
        ASSERT_EQ(result.code, 0) << count << ": " << result.err;
        const std::vector<std::string> lines = result.Lines();
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(count));
        EXPECT_TRUE(lines.back().starts_with("seq=" + std::to_string(count) + " ")) << lines.back();
        EXPECT_NE(lines.back().find("orderNo=\"" + std::to_string(count) + "\""), std::string::npos);
        EXPECT_NE(lines.back().find("time=2023-11-14T22:13:20Z"), std::string::npos) << lines.back();
    }
}

TEST_F(DumpTest, RepeatedFieldsComeInTheOrderTheApiDeliversThem) {
    CXTPFlow flow("req.id", "req.con", false, 1);
    CXTPPackage package;
    ASSERT_TRUE(package.Prepare(0x000000F1));
    ASSERT_TRUE(package.AddRecord(Order("1", 3500, 2)));
    for (const char* indentNo : {"IND1", "IND2"}) {
        TYqFrznElctIndenture indenture{};
        SetText(indenture.indentNo, indentNo);
        indenture.frznAmount = 1;
        ASSERT_TRUE(package.AddRecord(indenture));
    }
    flow.Append(package, 1);
    const DumpResult result = Dump({"req"});
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string& line = result.out;
    // Each field is prepended, so the indenture added last is the first in the package.
    const std::size_t second = line.find("indentNo=\"IND2\"");
    const std::size_t first = line.find("indentNo=\"IND1\"");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(line.find("TYqOrder{"), second);
    EXPECT_LT(second, first);
}

TEST_F(DumpTest, PackagesWithoutDefinitionAndRawFieldsShowTheirBytes) {
    CXTPFlow flow("raw.id", "raw.con", false, 1);
    CXTPPackage package;
    // The variable-length field carries raw bytes of any size.
    ASSERT_TRUE(package.Prepare(0x00009991));
    std::uint8_t* data = package.AddField(0x0001, 3);
    ASSERT_NE(data, nullptr);
    data[0] = 0x00, data[1] = 0xAB, data[2] = 0x7F;
    flow.Append(package, 1);
    const DumpResult result = Dump({"raw"});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_NE(result.out.find("tid=0x00009991 变长域 "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(" TVariableField{3 bytes:00ab7f}"), std::string::npos) << result.out;
}

}  // namespace
