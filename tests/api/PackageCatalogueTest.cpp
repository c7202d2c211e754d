#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "public/Frame.h"
#include "public/PackageDefinition.h"
#include "public/PackageTypes.h"
#include "public/XTPPackage.h"

using namespace quorex;

namespace {

// The application package types lie below it, the system packages from it on.
constexpr std::uint32_t kFirstSystemTid = 0x00100000;

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool IsApplicationRequest(const CPackageDefinition& definition) {
    return definition.Tid < kFirstSystemTid && definition.Tid != tid::VariableField && EndsWith(definition.name, "请求");
}

}  // namespace

TEST(PackageCatalogue, CountsAndLookup) {
    const auto all = AllPackageDefinitions();
    ASSERT_EQ(all.size(), 349u);
    std::set<std::uint32_t> tids;
    for (const CPackageDefinition& definition : all) {
        tids.insert(definition.Tid);
        EXPECT_EQ(FindPackageDefinition(definition.Tid), &definition);
        EXPECT_GE(definition.fieldCount, 1);
        EXPECT_LE(definition.fieldCount, 7);
        for (const CFieldDescriptor* field : definition.Fields()) EXPECT_NE(field, nullptr);
    }
    EXPECT_EQ(tids.size(), 349u);
    EXPECT_EQ(all.front().Tid, tid::VariableField);
    EXPECT_EQ(FindPackageDefinition(0), nullptr);
    EXPECT_EQ(FindPackageDefinition(tid::ReqTraderLogin + 769 * 1000), nullptr);  // same bucket, different Tid
    EXPECT_EQ(FindPackageDefinition(0xFFFFFFFF), nullptr);
}

TEST(PackageCatalogue, EveryRequestIsAnsweredAtTheNextTid) {
    int pairs = 0;
    for (const CPackageDefinition& definition : AllPackageDefinitions()) {
        if (!IsApplicationRequest(definition)) continue;
        const CPackageDefinition* response = FindPackageDefinition(definition.Tid + 1);
        ASSERT_NE(response, nullptr) << std::hex << definition.Tid;
        EXPECT_TRUE(EndsWith(response->name, "应答") || EndsWith(response->name, "响应")) << response->name;
        ++pairs;
    }
    EXPECT_EQ(pairs, 84);
    EXPECT_STREQ(FindPackageDefinition(tid::ReqStandardDataSendOver)->name, "标准数据发送结束请求");
    EXPECT_STREQ(FindPackageDefinition(tid::RspStandardDataSendOver)->name, "标准数据发送结束响应");
}

TEST(PackageCatalogue, DefinitionsReferToDescriptorsNotBareIds) {
    EXPECT_EQ(FindPackageDefinition(tid::RspQryYqMemberPosi)->fields[0], &RecordTraits<TYqMemberPosi>::kDescriptor);
    EXPECT_EQ(FindPackageDefinition(tid::RspQryZcMemberPosi)->fields[0], &RecordTraits<TZcMemberPosi>::kDescriptor);
    EXPECT_EQ(FindPackageDefinition(tid::MonitorMenuInfo)->fields[0], &RecordTraits<TMonitorMenu>::kDescriptor);
    EXPECT_EQ(FindPackageDefinition(tid::NtfGpOrderUnMatch)->fields[0], &RecordTraits<TGpOrderUnMatch>::kDescriptor);
    const CPackageDefinition* order = FindPackageDefinition(tid::ReqYqOrder);
    ASSERT_EQ(order->fieldCount, 2);
    EXPECT_EQ(order->fields[0], &RecordTraits<TYqOrder>::kDescriptor);
    EXPECT_EQ(order->fields[1], &RecordTraits<TYqFrznElctIndenture>::kDescriptor);
    EXPECT_EQ(FindPackageDefinition(tid::RspYqOrder)->fields[1], &RecordTraits<TTRspMsg>::kDescriptor);
}

// Every package type: one occurrence of each field with distinct bytes, built, framed, cut,
// parsed and decoded; every field must come back with the bytes it was given.
TEST(PackageCatalogue, EveryPackageTypeRoundTrips) {
    for (const CPackageDefinition& definition : AllPackageDefinitions()) {
        SCOPED_TRACE(testing::Message() << std::hex << definition.Tid);
        CXTPPackage package;
        ASSERT_TRUE(package.Prepare(definition.Tid));
        package.SetRootID("rt");
        std::map<const CFieldDescriptor*, std::vector<std::uint8_t>> sent;
        int index = 0;
        for (const CFieldDescriptor* field : definition.Fields()) {
            const std::uint16_t size = static_cast<std::uint16_t>(field->GetWireLength() ? field->GetWireLength() : 13);
            std::uint8_t* data = package.AddField(field->GetFieldID(), size);
            ASSERT_NE(data, nullptr) << field->GetRecordName();
            std::vector<std::uint8_t> bytes(size);
            for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + index * 7 + 1);
            std::memcpy(data, bytes.data(), size);
            sent[field] = bytes;
            ++index;
        }
        package.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(package.Length());
        ASSERT_TRUE(package.PrependHeader(package.m_XTPHeader));
        ASSERT_TRUE(CFrameEncoder().Encode(package));

        CFramePackage frame;
        frame.Assign(package.Address(), package.Length());
        ASSERT_EQ(frame.Cut(), static_cast<int>(package.Length()));
        frame.StripHeader();
        CXTPPackage received;
        received.ViewOf(frame);
        ASSERT_EQ(received.Parse(), static_cast<int>(frame.Length()));
        EXPECT_EQ(received.m_XTPHeader.Tid, definition.Tid);
        EXPECT_STREQ(received.m_XTPHeader.RootID, "rt");
        EXPECT_EQ(received.GetFieldCount(), definition.fieldCount);
        for (const CFieldDescriptor* field : definition.Fields()) {
            const CFieldRange range = received.GetField(field->GetFieldID());
            ASSERT_EQ(range.Count(), 1) << field->GetRecordName();
            ASSERT_EQ(range.Descriptor(), field);
            const auto data = range.Data(0);
            EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.end()), sent[field]) << field->GetRecordName();
            if (field->GetRecordSize() == 0) continue;
            // Decoding and encoding again reproduces the wire bytes.
            std::vector<std::uint8_t> record(field->GetRecordSize());
            range.Decode(0, record.data());
            std::vector<std::uint8_t> again(field->GetWireLength());
            field->Encode(record.data(), again.data());
            EXPECT_EQ(again, sent[field]) << field->GetRecordName();
        }
    }
}
