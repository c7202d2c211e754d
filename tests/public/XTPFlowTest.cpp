#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "public/ErrorTexts.h"
#include "public/PackageTypes.h"
#include "public/XTPFlow.h"
#include "tests/public/FlowTestSupport.h"

using namespace quorex;

namespace {

constexpr std::uint8_t kLogSeries = 1;

// A received package as the flow sees it: the window is the content, the header is decoded.
void BuildOrderPackage(CXTPPackage& package, std::int32_t amount) {
    ASSERT_TRUE(package.Prepare(tid::ReqYqOrder));
    TYqOrder order{};
    std::strcpy(order.instID, "HR0612");
    order.amount = amount;
    ASSERT_TRUE(package.AddRecord(order));
    package.SetRootID("req00042");
    package.m_XTPHeader.SequenceSeries = 3;
    package.m_XTPHeader.SequenceNo = 900;
    package.m_XTPHeader.Chain = 'L';
    package.m_XTPHeader.SenderID0 = 10;
    package.m_XTPHeader.SenderID5 = 15;
    package.m_XTPHeader.CurrJump = 2;
    package.m_XTPHeader.JumpFlag = 3;
    package.m_XTPHeader.TimeMark = 123456;
}

class XTPFlowTest : public ::testing::Test {
protected:
    ScratchDirectory dir;  // first: the paths below are made from it
    std::string idPath = dir.File("log.id");
    std::string contentPath = dir.File("log.con");

    // Reads stored record number and parses it back as a package.
    void ReadStored(CXTPFlow& flow, std::uint32_t number, CXTPPackage& stored) {
        std::vector<std::uint8_t> buffer(kMaxPayloadLength);
        const std::uint32_t length = flow.Read(flow.Locate(number), buffer);
        stored.Assign(buffer.data(), length);
        ASSERT_EQ(stored.Parse(), static_cast<int>(length));
    }
    void AppendOrders(CXTPFlow& flow, int orders) {
        CXTPPackage package;
        for (int i = 0; i < orders; ++i) {
            BuildOrderPackage(package, i);
            flow.Append(package, 1000);
        }
    }
};

TEST_F(XTPFlowTest, StoresThePackageUnderTheFlowsSeriesAndNextNumber) {
    CXTPFlow flow(idPath.c_str(), contentPath.c_str(), false, kLogSeries);
    CXTPPackage package;
    BuildOrderPackage(package, 20);
    const std::uint8_t* start = package.Address();
    const std::size_t length = package.Length();
    flow.Append(package, 777);

    // The caller's package is untouched and no longer shared with the flow.
    EXPECT_EQ(package.Address(), start);
    EXPECT_EQ(package.Length(), length);
    EXPECT_FALSE(package.IsBlockShared());

    CXTPPackage stored;
    ReadStored(flow, 0, stored);
    const TXTPHeader& header = stored.m_XTPHeader;
    EXPECT_EQ(header.SequenceSeries, kLogSeries);
    EXPECT_EQ(header.SequenceNo, 1u);
    EXPECT_EQ(header.Tid, tid::ReqYqOrder);
    EXPECT_EQ(header.ContentLength, length);
    EXPECT_EQ(header.Chain, 'L');
    EXPECT_STREQ(header.RootID, "req00042");
    EXPECT_EQ(header.SenderID0, 10u);
    EXPECT_EQ(header.SenderID5, 15u);
    EXPECT_EQ(header.CurrJump, 2);
    EXPECT_EQ(header.JumpFlag, 3);
    EXPECT_EQ(header.TimeMark, 123456u);
    TYqOrder order{};
    ASSERT_TRUE(stored.GetRecord(order));
    EXPECT_EQ(order.amount, 20);
    EXPECT_STREQ(order.instID, "HR0612");
    std::uint32_t time = 0;
    std::vector<std::uint8_t> buffer(kMaxPayloadLength);
    flow.Read(0, buffer, &time);
    EXPECT_EQ(time, 777u);
}

TEST_F(XTPFlowTest, NumberingContinuesAfterReopening) {
    {
        CXTPFlow flow(idPath.c_str(), contentPath.c_str(), false, kLogSeries);
        AppendOrders(flow, 7);
    }
    CXTPFlow flow(idPath.c_str(), contentPath.c_str(), true, kLogSeries);
    EXPECT_EQ(flow.Template().SequenceNo, 7u);
    AppendOrders(flow, 1);
    CXTPPackage stored;
    ReadStored(flow, 7, stored);
    EXPECT_EQ(stored.m_XTPHeader.SequenceNo, 8u);

    // Created afresh, the flow numbers from 1 again.
    flow.Open(idPath.c_str(), contentPath.c_str(), false);
    EXPECT_EQ(flow.Template().SequenceNo, 0u);
    AppendOrders(flow, 1);
    ReadStored(flow, 0, stored);
    EXPECT_EQ(stored.m_XTPHeader.SequenceNo, 1u);
}

TEST_F(XTPFlowTest, PackagesThatCannotBeStoredWholeAreRefusedWithoutUsingANumber) {
    CXTPFlow flow(idPath.c_str(), contentPath.c_str(), false, kLogSeries);
    CXTPPackage noHeadroom;
    const std::uint8_t content[4] = {1, 2, 3, 4};
    noHeadroom.Assign(content, sizeof content);
    ExpectError<CDesignError>([&] { flow.Append(noHeadroom, 1); }, kPackageBufferTooSmall, kModuleXTPFlow);
    EXPECT_FALSE(noHeadroom.IsBlockShared());

    CXTPPackage oversize;
    oversize.Allocate(kMaxPayloadLength + XTPHLEN);
    oversize.Prepend(kMaxPayloadLength - XTPHLEN + 1);
    ExpectError<CDesignError>([&] { flow.Append(oversize, 1); }, kPackageBufferTooSmall, kModuleXTPFlow);

    EXPECT_EQ(flow.Count(), 0u);
    AppendOrders(flow, 1);
    CXTPPackage stored;
    ReadStored(flow, 0, stored);
    EXPECT_EQ(stored.m_XTPHeader.SequenceNo, 1u);
}

TEST_F(XTPFlowTest, UncheckedTidWithoutDefinitionKeepsItsTid) {
    CXTPFlow flow(idPath.c_str(), contentPath.c_str(), false, kLogSeries);
    CXTPPackage package;
    package.Allocate(64);
    package.Prepend(8);
    package.m_XTPHeader.Tid = 0x10000001;
    flow.Append(package, 1);
    CXTPPackage stored;
    ReadStored(flow, 0, stored);
    EXPECT_EQ(stored.m_XTPHeader.Tid, 0x10000001u);
    EXPECT_EQ(stored.m_XTPHeader.ContentLength, 8);
}

TEST_F(XTPFlowTest, ReopeningAFlowWhoseLastRecordIsNoPackageFails) {
    {
        CFlow flow(idPath.c_str(), contentPath.c_str(), false);
        flow.Append(std::vector<std::uint8_t>(XTPHLEN - 1), 1);
    }
    ExpectError<CRuntimeError>([&] { CXTPFlow flow(idPath.c_str(), contentPath.c_str(), true, kLogSeries); },
                               kFlowInvalidIdFile, kModuleXTPFlow);
}

}  // namespace
