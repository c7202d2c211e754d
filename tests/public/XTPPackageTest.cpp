#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "public/PackageTypes.h"
#include "public/WireBytes.h"
#include "public/XTPPackage.h"
#include "quorex/Errors.h"

using namespace quorex;
using ::testing::HasSubstr;

namespace {

constexpr std::uint32_t kUnknownTid = 0x00000FFF;  // no row of the catalogue

// Wire bytes of a package: 56-byte header (Tid, ContentLength) then the given fields.
struct Field {
    std::uint16_t id;
    std::vector<std::uint8_t> data;
};

std::vector<std::uint8_t> RawPackage(std::uint32_t tid, const std::vector<Field>& fields, int lengthDelta = 0) {
    std::vector<std::uint8_t> content;
    for (const Field& field : fields) {
        std::uint8_t header[4];
        wire::PutU16(wire::PutU16(header, field.id), static_cast<std::uint16_t>(field.data.size()));
        content.insert(content.end(), header, header + 4);
        content.insert(content.end(), field.data.begin(), field.data.end());
    }
    TXTPHeader header{};
    header.Chain = 'S';
    header.Tid = tid;
    header.ContentLength = static_cast<std::uint16_t>(static_cast<int>(content.size()) + lengthDelta);
    std::vector<std::uint8_t> bytes(XTPHLEN + content.size());
    EncodeXTPHeader(header, bytes.data());
    std::copy(content.begin(), content.end(), bytes.begin() + XTPHLEN);
    return bytes;
}

int ParseBytes(CXTPPackage& package, const std::vector<std::uint8_t>& bytes) {
    package.Assign(bytes.data(), bytes.size());
    return package.Parse();
}

std::string ParseOutput(CXTPPackage& package, const std::vector<std::uint8_t>& bytes, int& result) {
    testing::internal::CaptureStdout();
    result = ParseBytes(package, bytes);
    return testing::internal::GetCapturedStdout();
}

Field Order() { return {0xA10C, std::vector<std::uint8_t>(107, 'o')}; }
Field Indenture(char fill = 'i') { return {0xA10D, std::vector<std::uint8_t>(28, static_cast<std::uint8_t>(fill))}; }

}  // namespace

TEST(XTPPackageParse, ShortAndEmptyPackages) {
    CXTPPackage package;
    std::vector<std::uint8_t> bytes = RawPackage(tid::ReqYqOrder, {});
    EXPECT_EQ(ParseBytes(package, bytes), 56);
    EXPECT_EQ(package.GetFieldCount(), 0);
    bytes.pop_back();
    EXPECT_EQ(ParseBytes(package, bytes), kParseShortOrLengthMismatch);
}

TEST(XTPPackageParse, ResultCodesAndDiagnostics) {
    CXTPPackage package;
    int result = 0;
    EXPECT_EQ(ParseOutput(package, RawPackage(tid::ReqYqOrder, {Order()}, 1), result),
              "Length()-XTPHLEN=111 m_XTPHeader.ContentLength=112\n");
    EXPECT_EQ(result, kParseShortOrLengthMismatch);

    EXPECT_EQ(ParseBytes(package, RawPackage(kUnknownTid, {})), kParseUnknownTid);
    EXPECT_EQ(ParseBytes(package, RawPackage(tid::ReqYqOrder, {{0xA10C, std::vector<std::uint8_t>(106)}})),
              kParseWrongFieldSize);

    // A field the definition does not carry stops the walk short of ContentLength.
    EXPECT_EQ(ParseOutput(package, RawPackage(tid::ReqYqOrder, {{0xA0FF, std::vector<std::uint8_t>(80)}}), result),
              "Tid=000000f1\nsize=0 m_XTPHeader.ContentLength=84\n");
    EXPECT_EQ(result, kParseFieldsDoNotAddUp);

    // A field header whose size runs past the content, and a dangling partial field header.
    auto overrun = RawPackage(tid::VariableField, {{0x0001, std::vector<std::uint8_t>(10)}});
    wire::PutU16(overrun.data() + XTPHLEN + 2, 11);
    EXPECT_EQ(ParseOutput(package, overrun, result), "Tid=00009991\nsize=0 m_XTPHeader.ContentLength=14\n");
    EXPECT_EQ(result, kParseFieldsDoNotAddUp);
    auto dangling = RawPackage(tid::VariableField, {{0x0001, {1, 2}}});
    dangling.insert(dangling.end(), {0, 1});
    wire::PutU16(dangling.data() + 2, 8);
    EXPECT_EQ(ParseOutput(package, dangling, result), "Tid=00009991\nsize=6 m_XTPHeader.ContentLength=8\n");
    EXPECT_EQ(result, kParseFieldsDoNotAddUp);
}

TEST(XTPPackageParse, UncheckedTidsPassWithoutDefinition) {
    CXTPPackage package;
    auto bytes = RawPackage(0x10000000, {{0x7777, {1, 2, 3}}});
    EXPECT_EQ(ParseBytes(package, bytes), static_cast<int>(bytes.size()));
    EXPECT_EQ(package.GetDefinition(), nullptr);
    EXPECT_EQ(package.GetField(0x7777).Count(), 0);
}

TEST(XTPPackageParse, FieldsMustNotClimbTheDefinition) {
    CXTPPackage package;
    int result = 0;
    // Entry 1 then entry 0: the order a builder produces.
    EXPECT_GT(ParseBytes(package, RawPackage(tid::ReqYqOrder, {Indenture(), Order()})), 0);
    EXPECT_EQ(package.GetFieldCount(), 2);
    // Entry 0 then entry 1: the walk stops at the second field.
    ParseOutput(package, RawPackage(tid::ReqYqOrder, {Order(), Indenture()}), result);
    EXPECT_EQ(result, kParseFieldsDoNotAddUp);
}

TEST(XTPPackageParse, RepeatedFieldsAreCountedAndFoundFromTheFirst) {
    CXTPPackage package;
    ASSERT_GT(ParseBytes(package, RawPackage(tid::ReqYqOrder, {Indenture('a'), Indenture('b'), Order()})), 0);
    const CFieldRange indentures = package.GetField(0xA10D);
    ASSERT_EQ(indentures.Count(), 2);
    EXPECT_EQ(indentures.Data(0)[0], 'a');
    EXPECT_EQ(indentures.Data(1)[0], 'b');
    EXPECT_EQ(package.GetField(0xA10C).Count(), 1);
    EXPECT_EQ(package.GetField(0xA0FF).Count(), 0);
    TYqFrznElctIndenture second{};
    ASSERT_TRUE(package.GetRecord(second, 1));
    EXPECT_EQ(std::string(second.indentNo), std::string(10, 'b'));
    EXPECT_FALSE(package.GetRecord(second, 2));
    TYqMatch wrongType{};
    EXPECT_FALSE(package.GetRecord(wrongType));
}

TEST(XTPPackageParse, VariableLengthFieldsOfDifferentSizes) {
    CXTPPackage package;
    ASSERT_GT(ParseBytes(package, RawPackage(tid::VariableField, {{0x0001, {1, 2, 3}}, {0x0001, {}}, {0x0001, {9}}})), 0);
    const CFieldRange fields = package.GetField(0x0001);
    ASSERT_EQ(fields.Count(), 3);
    EXPECT_EQ(fields.Data(0).size(), 3u);
    EXPECT_EQ(fields.Data(1).size(), 0u);
    ASSERT_EQ(fields.Data(2).size(), 1u);
    EXPECT_EQ(fields.Data(2)[0], 9);
}

TEST(XTPPackageBuild, AddFieldChecksEverythingBeforeWriting) {
    CXTPPackage package;
    EXPECT_EQ(package.AddField(0x0001, 1), nullptr);  // no definition yet
    EXPECT_FALSE(package.Prepare(kUnknownTid));
    ASSERT_TRUE(package.Prepare(tid::ReqYqOrder));
    EXPECT_EQ(package.AddField(0xA0FF, 80), nullptr);   // not in the definition
    EXPECT_EQ(package.AddField(0xA10C, 106), nullptr);  // wrong size for a fixed record
    EXPECT_EQ(package.Length(), 0u);
    ASSERT_NE(package.AddField(0xA10D, 28), nullptr);
    EXPECT_EQ(package.AddField(0xA10C, 107), nullptr);  // earlier entry after a later one
    EXPECT_EQ(package.Length(), 32u);

    ASSERT_TRUE(package.Prepare(tid::VariableField));
    EXPECT_EQ(package.AddField(0x0001, 4096 - 116 + 1), nullptr);
    EXPECT_EQ(package.Length(), 0u);
    ASSERT_NE(package.AddField(0x0001, 4096 - 116), nullptr);
    EXPECT_EQ(package.AddField(0x0001, 1), nullptr);
}

TEST(XTPPackageBuild, BuiltFieldsParseInAdditionOrderReversed) {
    CXTPPackage package;
    ASSERT_TRUE(package.Prepare(tid::ReqUserLogin));
    TReqUserLogin login{};
    std::strcpy(login.userID, "admin01");
    ASSERT_TRUE(package.AddRecord(login));
    for (std::int32_t series : {2, 3, 4}) ASSERT_TRUE(package.AddRecord(TSequencePoint{static_cast<std::int16_t>(series), series * 10}));
    package.SetRootID("123456789");
    package.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(package.Length());
    ASSERT_TRUE(package.PrependHeader(package.m_XTPHeader));

    CXTPPackage received;
    received.ViewOf(package);
    ASSERT_EQ(received.Parse(), static_cast<int>(package.Length()));
    EXPECT_STREQ(received.m_XTPHeader.RootID, "12345678");
    EXPECT_EQ(received.m_XTPHeader.Chain, 'S');
    TSequencePoint first{};
    ASSERT_TRUE(received.GetRecord(first, 0));
    EXPECT_EQ(first.sequenceSeries, 4);  // the last added comes first
    TReqUserLogin back{};
    ASSERT_TRUE(received.GetRecord(back));
    EXPECT_STREQ(back.userID, "admin01");
}

TEST(XTPPackageBuild, PrepareLeavesOtherViewsOfTheOldBlockIntact) {
    CXTPPackage package;
    ASSERT_TRUE(package.Prepare(tid::VariableField));
    std::memset(package.AddField(0x0001, 4), 7, 4);
    CPackage view;
    view.ViewOf(package);
    ASSERT_TRUE(package.Prepare(tid::VariableField));
    std::memset(package.AddField(0x0001, 4), 9, 4);
    EXPECT_EQ(view.Address()[4], 7);
}

TEST(XTPPackageFlat, SaveAndLoadRoundTrip) {
    CXTPPackage package;
    ASSERT_TRUE(package.Prepare(tid::ReqYqOrder));
    TYqOrder order{};
    order.amount = 42;
    ASSERT_TRUE(package.AddRecord(order));
    package.SetRootID("r1");
    std::vector<std::uint8_t> flat(2000);
    const std::size_t saved = package.SaveFlat(flat);
    ASSERT_EQ(saved, 56u + 111u);
    EXPECT_EQ(package.SaveFlat(std::span(flat.data(), 100)), 0u);

    CXTPPackage loaded;
    loaded.LoadFlat(std::span(flat.data(), saved));
    EXPECT_EQ(loaded.m_XTPHeader.Tid, tid::ReqYqOrder);
    EXPECT_STREQ(loaded.m_XTPHeader.RootID, "r1");
    ASSERT_EQ(loaded.Length(), 111u);
    EXPECT_EQ(std::memcmp(loaded.Address(), package.Address(), 111), 0);
}

TEST(XTPPackageFlat, LoadRejectsUnknownTidsAndShortInput) {
    CXTPPackage package;
    std::vector<std::uint8_t> flat(56, 0);
    TXTPHeader header{};
    header.Tid = kUnknownTid;
    std::memcpy(flat.data(), &header, sizeof header);
    try {
        package.LoadFlat(flat);
        FAIL() << "no error raised";
    } catch (const CRuntimeError& error) {
        EXPECT_STREQ(error.GetMessage(), "非法的Tid");
        EXPECT_STREQ(error.GetFile(), "public/XTPPackage");
    }
    header.Tid = tid::VariableField;
    header.ContentLength = 10;
    std::memcpy(flat.data(), &header, sizeof header);
    EXPECT_THROW(package.LoadFlat(flat), CDesignError);
    EXPECT_THROW(package.LoadFlat(std::span(flat.data(), 20)), CDesignError);
}

// A package object is reused for every package of a connection: after a failed parse no field of
// the package parsed before may still be found, or a reader would read past the new window.
TEST(XTPPackageParse, AFailedParseLeavesNoFieldsOfTheLastPackage) {
    CXTPPackage package;
    const auto good = RawPackage(tid::ReqYqOrder, {Indenture(), Order()});
    TYqOrder order{};
    const std::vector<std::vector<std::uint8_t>> failures = {
        std::vector<std::uint8_t>(good.begin(), good.begin() + 40),                       // short
        RawPackage(tid::ReqYqOrder, {{0xA10D, std::vector<std::uint8_t>(27)}}),             // wrong size
        RawPackage(tid::ReqYqOrder, {Order(), Indenture()}),                               // climbs
    };
    for (const auto& bytes : failures) {
        ASSERT_GT(ParseBytes(package, good), 0);
        ASSERT_TRUE(package.GetRecord(order));
        testing::internal::CaptureStdout();
        EXPECT_LT(ParseBytes(package, bytes), 0);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(package.GetField(0xA10C).Count(), 0);
        EXPECT_EQ(package.GetField(0xA10D).Count(), 0);
        EXPECT_FALSE(package.GetRecord(order));
    }
    // Nor after the package is restored from its flat form without a parse.
    ASSERT_GT(ParseBytes(package, good), 0);
    std::vector<std::uint8_t> flat(2000);
    CXTPPackage built;
    ASSERT_TRUE(built.Prepare(tid::ReqYqOrder));
    const std::size_t saved = built.SaveFlat(flat);
    package.LoadFlat(std::span(flat.data(), saved));
    EXPECT_EQ(package.GetField(0xA10D).Count(), 0);
}

TEST(XTPPackageBuild, RootIdIsAtMostEightCharactersAndNullClearsIt) {
    CXTPPackage package;
    ASSERT_TRUE(package.Prepare(tid::ReqYqOrder));
    for (const char* id : {"12345678", "1", ""}) {
        std::memset(package.m_XTPHeader.RootID, 'x', sizeof package.m_XTPHeader.RootID);
        package.SetRootID(id);
        EXPECT_STREQ(package.m_XTPHeader.RootID, id);
        // The unused characters are zero: they travel on the wire.
        EXPECT_EQ(std::count(package.m_XTPHeader.RootID, package.m_XTPHeader.RootID + 9, '\0'),
                  9 - static_cast<long>(std::strlen(id)));
    }
    package.SetRootID(nullptr);
    EXPECT_EQ(std::count(package.m_XTPHeader.RootID, package.m_XTPHeader.RootID + 9, '\0'), 9);
}
