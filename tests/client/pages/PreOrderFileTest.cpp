#include "client/pages/PreOrderFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "PreOrderTestSupport.h"

using namespace kvt;
using namespace kvt::test;

namespace {

constexpr char kToday[] = "20260105";

// Bytes placed by the offsets of the file's layout, independently of the structs.
class CHandImage {
public:
    explicit CHandImage(const char* date) : m_bytes(9, '\0') { std::memcpy(m_bytes.data(), date, 8); }

    // One order record of 128 bytes at the end of the image.
    void Order(const char* orderNo, const char* clientID, char accountType, const char* instID, const char* memberID,
               char buyOrSell, char offSetFlag, char pledgeFlag, double price, int amount, char status,
               const char* localOrderNo, const char* traderID) {
        const std::size_t at = Grow(128);
        Text(at + 0, orderNo);
        Text(at + 15, clientID);
        m_bytes[at + 24] = accountType;
        Text(at + 25, instID);
        Text(at + 32, memberID);
        m_bytes[at + 37] = buyOrSell;
        m_bytes[at + 56] = offSetFlag;
        m_bytes[at + 57] = pledgeFlag;
        std::uint64_t bits;
        std::memcpy(&bits, &price, 8);
        for (int i = 0; i < 8; ++i) m_bytes[at + 64 + i] = static_cast<char>(bits >> (8 * i));
        Int32(at + 72, amount);
        m_bytes[at + 80] = status;
        Text(at + 81, localOrderNo);
        Text(at + 96, traderID);
    }
    void Count(std::int32_t n) { Int32(Grow(4), n); }
    void Indenture(const char* indentNo, int frznAmount) {
        const std::size_t at = Grow(32);
        Text(at + 15, indentNo);
        Int32(at + 28, frznAmount);
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::size_t Grow(std::size_t size) {
        const std::size_t at = m_bytes.size();
        m_bytes.resize(at + size, '\0');
        return at;
    }
    void Text(std::size_t at, const char* text) { std::memcpy(&m_bytes[at], text, std::strlen(text)); }
    void Int32(std::size_t at, std::int32_t value) {
        for (int i = 0; i < 4; ++i) m_bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
    }

    std::string m_bytes;
};

CParkedOrder Parked(const TYqOrder& order, std::vector<TYqFrznElctIndenture> indentures) {
    return CParkedOrder{order, std::move(indentures)};
}

// A deposit order and an indenture order with two indentures, as the page stores them.
struct CTwoOrders {
    CParkedOrder deposit;
    CParkedOrder indentured;
    CHandImage image{kToday};

    CTwoOrders() {
        TYqOrder first = ParkableOrder(2350, 5, 'b');
        quorex::SetText(first.orderNo, "00000001");
        first.status = '1';
        deposit = Parked(first, DepositList());

        TYqOrder second = ParkableOrder(2410.5, 3, 's');
        quorex::SetText(second.orderNo, "00000002");
        second.pledgeFlag = '2';
        second.status = '3';
        quorex::SetText(second.localOrderNo, "00000000000043");
        indentured = Parked(second, {Indenture("WR00000001", 2), Indenture("WR00000002", 1), TYqFrznElctIndenture{}});

        image.Order("00000001", "00010011", '0', "SR0601", "0001", 'b', '0', '1', 2350, 5, '1', "", "00010001");
        image.Count(1);
        image.Indenture("", 0);
        image.Order("00000002", "00010011", '0', "SR0601", "0001", 's', '0', '2', 2410.5, 3, '3', "00000000000043",
                    "00010001");
        image.Count(3);
        image.Indenture("WR00000001", 2);
        image.Indenture("WR00000002", 1);
        image.Indenture("", 0);
    }
    std::string Encoded() const {
        const CParkedOrder* orders[] = {&deposit, &indentured};
        return EncodePreOrderFile(kToday, orders);
    }
};

void ExpectSameOrder(const CParkedOrder& read, const CParkedOrder& written) {
    EXPECT_EQ(std::memcmp(&read.order, &written.order, sizeof read.order), 0);
    ASSERT_EQ(read.indentures.size(), written.indentures.size());
    for (std::size_t i = 0; i < read.indentures.size(); ++i) {
        EXPECT_EQ(quorex::FieldText(read.indentures[i].indentNo), quorex::FieldText(written.indentures[i].indentNo));
        EXPECT_EQ(read.indentures[i].frznAmount, written.indentures[i].frznAmount);
    }
}

}  // namespace

TEST(PreOrderFile, ImageIsTheDateThenEachRecordItsCountAndItsIndentures) {
    const CTwoOrders two;
    // n is 1 for the deposit order (its ending entry) and 3 for two indentures.
    EXPECT_EQ(two.Encoded(), two.image.Bytes());
    EXPECT_EQ(two.Encoded().size(), 9u + (128 + 4 + 32) + (128 + 4 + 3 * 32));
}

TEST(PreOrderFile, PaddingIsWrittenAsZeroWhateverMemoryHeld) {
    CTwoOrders two;
    TYqOrder dirty;
    std::memset(&dirty, 0x5A, sizeof dirty);
    // Every member set as the page sets it; the padding keeps the 0x5A of the memset.
    const TYqOrder& clean = two.deposit.order;
    std::memcpy(dirty.orderNo, clean.orderNo, sizeof dirty.orderNo);
    std::memcpy(dirty.clientID, clean.clientID, sizeof dirty.clientID);
    dirty.accountType = clean.accountType;
    std::memcpy(dirty.instID, clean.instID, sizeof dirty.instID);
    std::memcpy(dirty.memberID, clean.memberID, sizeof dirty.memberID);
    dirty.buyOrSell = clean.buyOrSell;
    std::memcpy(dirty.applyDate, clean.applyDate, sizeof dirty.applyDate);
    std::memcpy(dirty.applyTime, clean.applyTime, sizeof dirty.applyTime);
    dirty.offSetFlag = clean.offSetFlag;
    dirty.pledgeFlag = clean.pledgeFlag;
    dirty.price = clean.price;
    dirty.amount = clean.amount;
    dirty.remainAmount = clean.remainAmount;
    dirty.status = clean.status;
    std::memcpy(dirty.localOrderNo, clean.localOrderNo, sizeof dirty.localOrderNo);
    std::memcpy(dirty.traderID, clean.traderID, sizeof dirty.traderID);
    std::memcpy(dirty.cancelTime, clean.cancelTime, sizeof dirty.cancelTime);
    std::memcpy(dirty.cancelID, clean.cancelID, sizeof dirty.cancelID);
    two.deposit.order = dirty;
    std::memset(&two.indentured.indentures[0], 0x5A, sizeof(TYqFrznElctIndenture));
    two.indentured.indentures[0] = Indenture("WR00000001", 2);
    EXPECT_EQ(two.Encoded(), two.image.Bytes());
}

TEST(PreOrderFile, ReadsBackWhatItWrote) {
    const CTwoOrders two;
    const std::vector<CParkedOrder> read = DecodePreOrderFile(two.image.Bytes(), kToday);
    ASSERT_EQ(read.size(), 2u);
    ExpectSameOrder(read[0], two.deposit);
    ExpectSameOrder(read[1], two.indentured);
}

TEST(PreOrderFile, AnotherDayAShortHeaderOrNoDateReadsNothing) {
    const CTwoOrders two;
    EXPECT_TRUE(DecodePreOrderFile(two.image.Bytes(), "20260106").empty());
    EXPECT_TRUE(DecodePreOrderFile(two.image.Bytes(), "").empty());
    EXPECT_TRUE(DecodePreOrderFile(two.image.Bytes().substr(0, 8), kToday).empty());
    std::string unterminated = two.image.Bytes();
    unterminated[8] = '7';
    EXPECT_TRUE(DecodePreOrderFile(unterminated, kToday).empty());
    EXPECT_TRUE(DecodePreOrderFile(two.image.Bytes().substr(0, 9), kToday).empty());
}

TEST(PreOrderFile, ADamagedEntryKeepsTheCompleteOnesBeforeIt) {
    const std::size_t firstEnd = 9 + 128 + 4 + 32;
    const std::size_t secondCount = firstEnd + 128;
    struct CDamage {
        const char* what;
        std::int32_t n;  // written over the second entry's count, unless 0x7eadbeef
        std::size_t keep;  // bytes of the image kept
    };
    const CTwoOrders two;
    const std::size_t whole = two.image.Bytes().size();
    for (const CDamage& damage : {CDamage{"negative n", -1, whole}, CDamage{"zero n", 0, whole},
                                  CDamage{"huge n", 0x7fffffff, whole}, CDamage{"n past the end", 4, whole},
                                  CDamage{"cut in the list", 0x7eadbeef, whole - 1},
                                  CDamage{"cut in the count", 0x7eadbeef, secondCount + 2},
                                  CDamage{"cut in the record", 0x7eadbeef, firstEnd + 100}}) {
        SCOPED_TRACE(damage.what);
        std::string image = two.image.Bytes().substr(0, damage.keep);
        if (damage.n != 0x7eadbeef) {
            for (int i = 0; i < 4; ++i) {
                image[secondCount + static_cast<std::size_t>(i)] =
                    static_cast<char>(static_cast<std::uint32_t>(damage.n) >> (8 * i));
            }
        }
        const std::vector<CParkedOrder> read = DecodePreOrderFile(image, kToday);
        ASSERT_EQ(read.size(), 1u);
        ExpectSameOrder(read[0], two.deposit);
    }
}

TEST(PreOrderFile, AListWithoutItsEndingEntryEndsTheReading) {
    CHandImage image(kToday);
    image.Order("00000001", "00010011", '0', "SR0601", "0001", 's', '0', '2', 2400, 1, '1', "", "00010001");
    image.Count(1);
    image.Indenture("WR00000001", 1);
    EXPECT_TRUE(DecodePreOrderFile(image.Bytes(), kToday).empty());
}

TEST(PreOrderFile, TextsReadFromTheFileAreTerminated) {
    std::string image(9, '\0');
    std::memcpy(image.data(), kToday, 8);
    image.append(128, 'X');
    image.append("\x01\x00\x00\x00", 4);
    image.append(32, 'Y');
    std::memset(image.data() + 9 + 132 + 15, 0, 1);  // an empty indentNo, the rest of the entry filled
    const std::vector<CParkedOrder> read = DecodePreOrderFile(image, kToday);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(quorex::FieldText(read[0].order.instID).size(), 6u);
    EXPECT_EQ(read[0].order.localOrderNo[14], '\0');
    EXPECT_EQ(read[0].order.cancelID[8], '\0');
    EXPECT_EQ(read[0].indentures[0].orderNo[14], '\0');
}

TEST(PreOrderFile, EveryListIsEndedByOneEmptyEntry) {
    std::vector<TYqFrznElctIndenture> none;
    EndIndentureList(none);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].indentNo[0], '\0');

    std::vector<TYqFrznElctIndenture> unended{Indenture("WR00000001", 1)};
    EndIndentureList(unended);
    ASSERT_EQ(unended.size(), 2u);
    EXPECT_EQ(unended[1].indentNo[0], '\0');

    std::vector<TYqFrznElctIndenture> trailing{Indenture("WR00000001", 1), TYqFrznElctIndenture{},
                                               Indenture("WR00000009", 9)};
    EndIndentureList(trailing);
    EXPECT_EQ(trailing.size(), 2u);
}

TEST(PreOrderFile, TheTraderIdCannotLeadOutOfTheDirectory) {
    EXPECT_EQ(PreOrderFilePath("/work/day", "00010001"), "/work/day/00010001YqPreOrder.data");
    for (const char* traderID : {"../x", "a/b", "..\\..\\c", "..", "t\n\x1b[2J"}) {
        SCOPED_TRACE(traderID);
        const std::filesystem::path path = PreOrderFilePath("/work/day", traderID);
        EXPECT_EQ(path.parent_path(), "/work/day");
        EXPECT_EQ(path.filename().string().find_first_of("/\\\n\x1b"), std::string::npos);
        EXPECT_NE(path, PreOrderFilePath("/work/day", "a_b")) << "a different trader's file";
        EXPECT_NE(path.filename(), "..");
    }
    EXPECT_EQ(PreOrderFilePath("/work/day", "../x"), "/work/day/%2E%2E%2FxYqPreOrder.data");
    EXPECT_EQ(PreOrderFilePath("/work/day", nullptr), "/work/day/YqPreOrder.data");
}

TEST(PreOrderFile, ReplacingWritesTheWholeImageAndLeavesNoTemporary) {
    CScratchDirectory scratch;
    const std::string path = (scratch.Path() / "t.data").string();
    EXPECT_FALSE(ReadPreOrderFile(path).has_value());
    const CTwoOrders two;
    ASSERT_TRUE(ReplacePreOrderFile(path, two.image.Bytes()));
    ASSERT_TRUE(ReplacePreOrderFile(path, two.image.Bytes().substr(0, 9)));
    EXPECT_EQ(ReadPreOrderFile(path), two.image.Bytes().substr(0, 9));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(PreOrderFile, AFailedReplaceKeepsThePreviousFile) {
    CScratchDirectory scratch;
    const std::string path = (scratch.Path() / "t.data").string();
    const CTwoOrders two;
    ASSERT_TRUE(ReplacePreOrderFile(path, two.image.Bytes()));
    std::filesystem::create_directory(path + ".tmp");  // in the way of the temporary file
    EXPECT_FALSE(ReplacePreOrderFile(path, "20260105"));
    EXPECT_EQ(FileBytes(path), two.image.Bytes());
    EXPECT_TRUE(std::filesystem::is_directory(path + ".tmp"));
}
