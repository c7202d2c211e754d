#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "public/RecordTraits.h"

using namespace quorex;

namespace {

std::vector<std::uint8_t> EncodeRecord(const CFieldDescriptor& descriptor, const void* record) {
    std::vector<std::uint8_t> bytes(descriptor.GetWireLength());
    descriptor.Encode(record, bytes.data());
    return bytes;
}

// An independent reading of the layout rule: members in order, natural alignment, a text of
// width n >= 2 takes n + 1 bytes; the struct's size is rounded up to its strictest alignment.
struct RuleLayout {
    std::vector<std::uint32_t> offsets;
    std::uint32_t size = 0;
};

RuleLayout LayoutByRule(const CFieldDescriptor& descriptor, std::uint32_t firstOffset) {
    RuleLayout layout;
    std::uint32_t offset = firstOffset, maxAlign = 1;
    for (const CMemberEntry& member : descriptor.GetMembers()) {
        std::uint32_t size = member.width, align = member.width;
        if (member.kind == kKindText) {
            size = member.width >= 2 ? member.width + 1 : 1;
            align = 1;
        }
        offset = (offset + align - 1) / align * align;
        layout.offsets.push_back(offset);
        offset += size;
        maxAlign = std::max(maxAlign, align);
    }
    layout.size = (offset + maxAlign - 1) / maxAlign * maxAlign;
    return layout;
}

// A reference encoder that walks the member table, to cross-check the generated straight-line
// codec against the same table.
std::vector<std::uint8_t> EncodeByTable(const CFieldDescriptor& descriptor, const std::uint8_t* record) {
    std::vector<std::uint8_t> bytes(descriptor.GetWireLength());
    for (const CMemberEntry& member : descriptor.GetMembers()) {
        const std::uint8_t* source = record + member.memberOffset;
        std::uint8_t* dest = bytes.data() + member.wireOffset;
        if (member.kind == kKindText) {
            std::memcpy(dest, source, member.width);
        } else {
            for (std::uint32_t i = 0; i < member.width; ++i) dest[i] = source[member.width - 1 - i];
        }
    }
    return bytes;
}

// Encodes a record of distinct bytes and compares with the table; decodes the wire form into a
// record whose every byte is `untouched` and expects the members copied, each text of two or more
// characters terminated and every other byte still `untouched`.
void ExpectCodecFollowsTheTable(const CFieldDescriptor& descriptor, std::uint8_t untouched) {
    SCOPED_TRACE(descriptor.GetRecordName());
    std::vector<std::uint8_t> record(descriptor.GetRecordSize());
    for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const std::vector<std::uint8_t> wire = EncodeRecord(descriptor, record.data());
    EXPECT_EQ(wire, EncodeByTable(descriptor, record.data()));
    std::vector<std::uint8_t> decoded(record.size(), untouched);
    descriptor.Decode(decoded.data(), wire.data());
    std::vector<std::uint8_t> expected(record.size(), untouched);
    for (const CMemberEntry& member : descriptor.GetMembers()) {
        std::memcpy(&expected[member.memberOffset], &record[member.memberOffset], member.width);
        if (member.kind == kKindText && member.width > 1) expected[member.memberOffset + member.width] = '\0';
    }
    EXPECT_EQ(decoded, expected);
}

}  // namespace

TEST(RecordCatalogue, CountsMatchTheProtocol) {
    std::set<std::uint16_t> fieldIds;
    for (const CFieldDescriptor* descriptor : kRecordDescriptors) fieldIds.insert(descriptor->GetFieldID());
    EXPECT_EQ(std::size(kRecordDescriptors), 163u);
    EXPECT_EQ(fieldIds.size(), 161u);
    ASSERT_EQ(std::size(kHeaderDescriptors), 2u);
    EXPECT_EQ(kHeaderDescriptors[0]->GetWireLength(), 4u);
    EXPECT_EQ(kHeaderDescriptors[1]->GetWireLength(), 52u);
    EXPECT_EQ(kHeaderDescriptors[1]->GetMembers().size(), 15u);
    for (const CFieldDescriptor* header : kHeaderDescriptors) EXPECT_EQ(header->GetFieldID(), 0);
    EXPECT_EQ(RecordTraits<TVariableField>::kDescriptor.GetFieldID(), 0x0001);
    EXPECT_EQ(RecordTraits<TVariableField>::kDescriptor.GetWireLength(), 0u);
}

TEST(RecordCatalogue, SharedFieldIdsHaveTwoLayouts) {
    EXPECT_EQ(RecordTraits<TYqMemberPosi>::kFieldID, RecordTraits<TZcMemberPosi>::kFieldID);
    EXPECT_EQ(RecordTraits<TYqMemberPosi>::kMembers.size(), 35u);
    EXPECT_EQ(RecordTraits<TZcMemberPosi>::kMembers.size(), 34u);
    EXPECT_EQ(RecordTraits<TGpOrderUnMatch>::kFieldID, 0xA1CA);
    EXPECT_EQ(RecordTraits<TMonitorMenu>::kFieldID, 0xA1CA);
    EXPECT_NE(RecordTraits<TGpOrderUnMatch>::kWireLength, RecordTraits<TMonitorMenu>::kWireLength);
}

TEST(RecordCatalogue, EveryStructFollowsTheLayoutRule) {
    std::vector<const CFieldDescriptor*> all(std::begin(kRecordDescriptors), std::end(kRecordDescriptors));
    all.insert(all.end(), std::begin(kHeaderDescriptors), std::end(kHeaderDescriptors));
    for (const CFieldDescriptor* descriptor : all) {
        // TTRspMsg keeps its one-character ChainFlag in front of the wire members.
        const std::uint32_t first = descriptor->GetFieldID() == 0xA0FF ? 1 : 0;
        const RuleLayout rule = LayoutByRule(*descriptor, first);
        SCOPED_TRACE(descriptor->GetRecordName());
        EXPECT_EQ(descriptor->GetRecordSize(), rule.size);
        std::uint32_t wireOffset = 0;
        for (std::size_t i = 0; i < rule.offsets.size(); ++i) {
            const CMemberEntry& member = descriptor->GetMembers()[i];
            EXPECT_EQ(member.memberOffset, rule.offsets[i]) << member.name;
            EXPECT_EQ(member.wireOffset, wireOffset) << member.name;
            wireOffset += member.width;
        }
        EXPECT_EQ(wireOffset, descriptor->GetWireLength());
    }
}

TEST(RecordCodec, GeneratedCodecMatchesTheMemberTableForEveryRecord) {
    // Decoding into a cleared record restores every member byte and nothing else.
    for (const CFieldDescriptor* descriptor : kRecordDescriptors) ExpectCodecFollowsTheTable(*descriptor, 0);
}

TEST(RecordCodec, GoldenBytes) {
    TTRspMsg response{};
    std::strcpy(response.RspCode, "RSP000000");
    std::strcpy(response.RspMsg, "ok");
    const auto bytes = EncodeRecord(RecordTraits<TTRspMsg>::kDescriptor, &response);
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(std::memcmp(bytes.data(), "RSP000000", 9), 0);
    for (int i = 9; i < 20; ++i) EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(std::memcmp(bytes.data() + 20, "ok", 2), 0);

    TYqOrder order{};
    order.price = 1.0;
    order.amount = 1;
    const auto orderBytes = EncodeRecord(RecordTraits<TYqOrder>::kDescriptor, &order);
    const std::uint8_t one[8] = {0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
    const std::uint32_t priceAt = 14 + 8 + 1 + 6 + 4 + 1 + 8 + 8 + 1 + 1;
    EXPECT_EQ(std::memcmp(orderBytes.data() + priceAt, one, 8), 0);
    const std::uint8_t amountOne[4] = {0, 0, 0, 1};
    EXPECT_EQ(std::memcmp(orderBytes.data() + priceAt + 8, amountOne, 4), 0);

    TSequencePoint point{0x0102, 0x01020304};
    const auto pointBytes = EncodeRecord(RecordTraits<TSequencePoint>::kDescriptor, &point);
    EXPECT_EQ(pointBytes, (std::vector<std::uint8_t>{1, 2, 1, 2, 3, 4}));
}

TEST(RecordCodec, ResponseFieldDecodesFromTheSecondByte) {
    std::uint8_t wire[80];
    std::memset(wire, 'x', sizeof wire);
    TTRspMsg response{};
    response.ChainFlag = 'L';
    RecordTraits<TTRspMsg>::Decode(response, wire);
    EXPECT_EQ(response.ChainFlag, 'L');
    EXPECT_EQ(std::strlen(response.RspCode), 20u);  // a full-width text stays terminated
    EXPECT_EQ(std::strlen(response.RspMsg), 60u);
}

TEST(RecordCodec, NegativeAndLargeNumbersRoundTrip) {
    TSysLoginRsp original{};
    original.RunMode = -2;
    original.LastNo = -123456789;
    TYqQuotation quotation{};
    quotation.upperPrice = -0.0;
    quotation.lowerPrice = 1e300;
    std::uint8_t wire[280];
    RecordTraits<TSysLoginRsp>::Encode(original, wire);
    TSysLoginRsp decoded{};
    RecordTraits<TSysLoginRsp>::Decode(decoded, wire);
    EXPECT_EQ(decoded.RunMode, -2);
    EXPECT_EQ(decoded.LastNo, -123456789);
    RecordTraits<TYqQuotation>::Encode(quotation, wire);
    TYqQuotation back{};
    RecordTraits<TYqQuotation>::Decode(back, wire);
    EXPECT_TRUE(std::signbit(back.upperPrice));
    EXPECT_EQ(back.lowerPrice, 1e300);
}

// The headers' codecs move several members at once (the series and chain bytes, the Tid and the
// sequence number, the sender IDs in pairs, the jump fields): each byte must still land where the
// member table puts it, and decoding must write nothing but the members and the terminators.
TEST(RecordCodec, HeaderCodecsMatchTheMemberTable) {
    for (const CFieldDescriptor* descriptor : kHeaderDescriptors) ExpectCodecFollowsTheTable(*descriptor, 0xEE);
}
