// quorex-dump on damaged copies of flows the library wrote: every kind of damage gives one clear
// error naming the file and the byte position, after the lines of the intact records before it.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "public/Flow.h"
#include "tools/dump/DumpTestSupport.h"

using namespace quorex;
using namespace quorex::test;

namespace {

// A stored order return: 8-byte record header, 56-byte package header, 4-byte field header, 107.
constexpr std::size_t kStoredOrderBytes = 8 + 56 + 4 + 107;

class DamagedFlow : public DumpTest {
protected:
    void SetUp() override {
        DumpTest::SetUp();
        WriteOrderFlow("day", 3);
        content = FileBytes("day.con");
        ASSERT_EQ(content.size(), 3 * kStoredOrderBytes);
    }
    // The dump of the damaged pair: it fails, keeps the intact lines, and says where.
    void ExpectError(std::size_t intactLines, const std::string& where, const std::string& problem) {
        const DumpResult result = Dump({"day"});
        EXPECT_EQ(result.code, 1);
        EXPECT_EQ(result.Lines().size(), intactLines) << result.out;
        EXPECT_TRUE(result.err.starts_with("quorex-dump: " + where + ": ")) << result.err;
        EXPECT_NE(result.err.find(problem), std::string::npos) << result.err;
    }
    static void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
        std::memcpy(bytes.data() + at, &value, sizeof value);
    }
    std::vector<std::uint8_t> content;
};

TEST_F(DamagedFlow, ContentCutInsideTheLastRecord) {
    content.resize(content.size() - 10);
    WriteBytes("day.con", content);
    ExpectError(2, "day.con: byte 350", "record length 167 (record 2) passes the end of the file (157 bytes left)");
}

TEST_F(DamagedFlow, ContentCutInsideARecordHeader) {
    content.resize(2 * kStoredOrderBytes + 3);
    WriteBytes("day.con", content);
    ExpectError(2, "day.con: byte 350", "truncated record header (record 2): 3 of 8 bytes left");
}

TEST_F(DamagedFlow, LengthFieldOfGarbageIsNotTrusted) {
    PutU32(content, kStoredOrderBytes, 0xFFFFFFF0u);
    WriteBytes("day.con", content);
    ExpectError(1, "day.con: byte 175", "record length 4294967280 (record 1) passes the end of the file");
}

TEST_F(DamagedFlow, RecordLongerThanAnyPackage) {
    CFlow flow("big.id", "big.con", false);
    const std::vector<std::uint8_t> data(5000, 0);
    flow.Append(data, 1);
    const DumpResult result = Dump({"big"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "quorex-dump: big.con: byte 0: record length 5000 (record 0) is longer than any package (4096 bytes)\n");
}

TEST_F(DamagedFlow, RecordsThatAreNoPackages) {
    CFlow flow("odd.id", "odd.con", false);
    const std::vector<std::uint8_t> shortRecord(10, 0);
    flow.Append(shortRecord, 1);
    DumpResult result = Dump({"odd"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "quorex-dump: odd.con: byte 8: a package of 10 bytes is shorter than its 56-byte header (record 0)\n");

    // The stored ContentLength (bytes 2 and 3 of the package header, big-endian) off by one.
    content[8 + 3] ^= 0x01;
    WriteBytes("day.con", content);
    ExpectError(0, "day.con: byte 8", "the package header gives ContentLength 110, but 111 content bytes are stored");
}

TEST_F(DamagedFlow, PackageTypeOutsideTheCatalogue) {
    // Tid is at bytes 4..7 of the package header of the second record.
    content[kStoredOrderBytes + 8 + 7] = 0x34;
    WriteBytes("day.con", content);
    ExpectError(1, "day.con: byte 183", "package type 0x00000034 is not in the catalogue (record 1)");
}

TEST_F(DamagedFlow, FieldOfTheWrongSize) {
    // FieldSize of the order field: bytes 2 and 3 of the field header after the package header.
    content[8 + 56 + 3] = 106;
    WriteBytes("day.con", content);
    ExpectError(0, "day.con: byte 8", "a field has the wrong size for its record (record 0)");
}

TEST_F(DamagedFlow, IdFileThatDoesNotMatch) {
    // A torn entry.
    WriteBytes("day.id", {1, 2, 3, 4, 5});
    ExpectError(0, "day.id: byte 4", "the id file ends inside an entry (5 bytes is not a multiple of 4)");
}

TEST_F(DamagedFlow, IdEntriesCheckedAgainstTheirRecords) {
    WriteOrderFlow("long", 250);
    std::vector<std::uint8_t> id = FileBytes("long.id");
    ASSERT_EQ(id.size(), 8u);

    // The entry for record 200 pointing one record short.
    std::vector<std::uint8_t> wrong = id;
    PutU32(wrong, 4, 199 * kStoredOrderBytes);
    WriteBytes("long.id", wrong);
    DumpResult result = Dump({"long"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.Lines().size(), 200u);
    EXPECT_EQ(result.err, "quorex-dump: long.id: byte 4: the entry for record 200 says offset 34825, but the record "
                          "starts at byte 35000 of the content file\n");

    // An entry missing.
    WriteBytes("long.id", {id.begin(), id.begin() + 4});
    result = Dump({"long"});
    EXPECT_EQ(result.code, 1);
    EXPECT_NE(result.err.find("long.id: byte 4: the id file ends without the entry for record 200"), std::string::npos)
        << result.err;

    // An entry too many: the pair of a 3-record flow given an index.
    WriteBytes("day.id", {id.begin(), id.begin() + 4});
    ExpectError(3, "day.id: byte 0", "the id file has 1 entries, but the content file holds only 3 records");
}

TEST_F(DamagedFlow, MissingFilesAreNamed) {
    std::remove("day.id");
    DumpResult result = Dump({"day"});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "quorex-dump: day.id: cannot open: No such file or directory\n");
    result = Dump({"nothing.con"});
    EXPECT_EQ(result.err, "quorex-dump: nothing.con: cannot open: No such file or directory\n");
}

// Every cut of the content file and every single flipped byte ends in either the complete dump or
// one error; none crashes, hangs or prints an error without a position.
TEST_F(DamagedFlow, AnyCutOrFlippedByteEndsInALineOrAnError) {
    const std::vector<std::uint8_t> intact = content;
    for (std::size_t size = 0; size < intact.size(); ++size) {
        WriteBytes("day.con", {intact.begin(), intact.begin() + static_cast<std::ptrdiff_t>(size)});
        const DumpResult result = Dump({"day"});
        if (size == 0 || size == kStoredOrderBytes || size == 2 * kStoredOrderBytes) {
            ASSERT_EQ(result.code, 0) << size << ": " << result.err;
        } else {
            ASSERT_EQ(result.code, 1) << size;
            ASSERT_TRUE(result.err.starts_with("quorex-dump: day.con: byte ")) << result.err;
        }
    }
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> flipped = intact;
        flipped[random() % flipped.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
        WriteBytes("day.con", flipped);
        const DumpResult result = Dump({"day"});
        ASSERT_TRUE(result.code == 0 || result.code == 1) << round;
        if (result.code == 1) {
            ASSERT_TRUE(result.err.starts_with("quorex-dump: day.con: byte ")) << result.err;
        }
        ASSERT_EQ(result.err.find('\n'), result.err.empty() ? std::string::npos : result.err.size() - 1);
    }
}

}  // namespace
