#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "client/shell/RecordKeys.h"
#include "client/shell/RecordTable.h"
#include "quorex/Errors.h"
#include "quorex/Records.h"

using namespace kvt;

namespace {

TMemberCapital Capital(const char* member, char accountType, double balance) {
    TMemberCapital capital{};
    std::strcpy(capital.memberID, member);
    capital.accountType = accountType;
    capital.todayBalance = balance;
    return capital;
}

TElctIndenture Indenture(const char* indentNo, int amount) {
    TElctIndenture indenture{};
    std::strcpy(indenture.indentNo, indentNo);
    indenture.avaAmount = amount;
    return indenture;
}

TEST(RecordTable, EqualKeysAreAllKeptAndFindReturnsTheFirstInserted) {
    CRecordTable table(sizeof(TElctIndenture), {CompareElctIndentureKey});
    const TElctIndenture first = Indenture("E000000001", 1);
    const TElctIndenture second = Indenture("E000000001", 2);
    const void* stored = table.Insert(&first);
    table.Insert(&second);
    EXPECT_EQ(table.Size(), 2u);
    EXPECT_EQ(table.Find(&second), stored);
    EXPECT_EQ(static_cast<const TElctIndenture*>(table.Find(&second))->avaAmount, 1);
    const TElctIndenture unknown = Indenture("E000000002", 0);
    EXPECT_EQ(table.Find(&unknown), nullptr);
}

TEST(RecordTable, RecordsStayPutAcrossBlocksUntilCleared) {
    CRecordTable table(sizeof(TMemberCapital), {CompareMemberCapitalKey});
    std::vector<const void*> stored;
    char member[5];
    for (int i = 0; i < 3 * 128 + 5; ++i) {
        std::snprintf(member, sizeof member, "%04d", i);
        const TMemberCapital capital = Capital(member, '0', i);
        stored.push_back(table.Insert(&capital));
    }
    for (int i = 0; i < 3 * 128 + 5; ++i) {
        const auto* capital = static_cast<const TMemberCapital*>(stored[static_cast<std::size_t>(i)]);
        EXPECT_EQ(capital->todayBalance, i);
        EXPECT_EQ(table.At(static_cast<std::size_t>(i)), capital);
        // Doubles in the record must be usable in place.
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(capital) % alignof(TMemberCapital), 0u);
    }
    // Slots within a block are consecutive.
    EXPECT_EQ(static_cast<const char*>(stored[127]) - static_cast<const char*>(stored[0]), 127 * 184);

    table.Clear();
    EXPECT_EQ(table.Size(), 0u);
    const TMemberCapital probe = Capital("0001", '0', 0);
    EXPECT_EQ(table.Find(&probe), nullptr);
    // A cleared table behaves as new.
    const void* again = table.Insert(&probe);
    EXPECT_EQ(table.Find(&probe), again);
    EXPECT_EQ(table.At(0), again);
    EXPECT_EQ(table.Size(), 1u);
}

TEST(RecordTable, CapitalKeyIsMemberThenAccountTypeAsAnUnsignedByte) {
    TMemberCapital a = Capital("0001", '0', 0), b = Capital("0001", '1', 0), c = Capital("0002", '0', 0);
    EXPECT_EQ(CompareMemberCapitalKey(&a, &b), -1);
    EXPECT_EQ(CompareMemberCapitalKey(&b, &a), 1);
    EXPECT_EQ(CompareMemberCapitalKey(&b, &c), -1);
    EXPECT_EQ(CompareMemberCapitalKey(&a, &a), 0);
    TMemberCapital high = Capital("0001", static_cast<char>(0xB0), 0);
    EXPECT_EQ(CompareMemberCapitalKey(&high, &b), 1);
    // Only the characters up to the terminator count.
    TMemberCapital trailing = Capital("0001", '0', 0);
    trailing.memberID[4] = '\0';
    EXPECT_EQ(CompareMemberCapitalKey(&trailing, &a), 0);
}

TEST(RecordTable, UpsertOverwritesInPlaceAndKeepsTheIndexPlace) {
    CRecordTable table(sizeof(TMemberCapital), {CompareMemberCapitalKey});
    const TMemberCapital own = Capital("0001", '0', 100), agency = Capital("0001", '1', 5);
    const void* ownStored = table.Upsert(&own).record;
    table.Upsert(&agency);
    const TMemberCapital newBalance = Capital("0001", '0', 250);
    const CRecordTable::CUpsert update = table.Upsert(&newBalance);
    EXPECT_FALSE(update.inserted);
    EXPECT_EQ(update.record, ownStored);
    EXPECT_EQ(table.Size(), 2u);
    EXPECT_EQ(static_cast<const TMemberCapital*>(table.Find(&own))->todayBalance, 250);
    EXPECT_EQ(static_cast<const TMemberCapital*>(table.Find(&agency))->todayBalance, 5);
}

int CompareBalance(const void* a, const void* b) {
    const double left = static_cast<const TMemberCapital*>(a)->todayBalance;
    const double right = static_cast<const TMemberCapital*>(b)->todayBalance;
    return left < right ? -1 : (left > right ? 1 : 0);
}

// A record announced again under another secondary key (an instrument renamed) stays one record:
// the index of that key finds it by the new key only, and announcing it again adds nothing.
TEST(RecordTable, UpsertWithAChangedSecondaryKeyReKeysTheRecordInPlace) {
    CRecordTable table(sizeof(TMemberCapital), {CompareMemberCapitalKey, CompareBalance});
    const TMemberCapital before = Capital("0001", '0', 100), other = Capital("0002", '0', 200);
    const void* stored = table.Upsert(&before).record;
    table.Upsert(&other);
    const TMemberCapital after = Capital("0001", '0', 300);
    for (int announcement = 0; announcement < 3; ++announcement) {
        const CRecordTable::CUpsert update = table.Upsert(&after);
        EXPECT_FALSE(update.inserted);
        EXPECT_EQ(update.record, stored);
    }
    EXPECT_EQ(table.Size(), 2u);
    EXPECT_EQ(table.Index(1).Size(), 2u);
    EXPECT_EQ(table.Index(1).FindFirst(&before), nullptr);
    EXPECT_EQ(table.Index(1).FindFirst(&after), stored);
    std::vector<double> byBalance;
    table.Index(1).ForEachInOrder([&](const void* r) { byBalance.push_back(static_cast<const TMemberCapital*>(r)->todayBalance); });
    EXPECT_EQ(byBalance, (std::vector<double>{200, 300}));
}

TEST(RecordTable, RefusesATableWithoutSizeOrIndex) {
    EXPECT_THROW(CRecordTable(0, {CompareElctIndentureKey}), CDesignError);
    EXPECT_THROW(CRecordTable(sizeof(TElctIndenture), {}), CDesignError);
    EXPECT_THROW(CRecordTable(sizeof(TElctIndenture), {nullptr}), CDesignError);
}

}  // namespace
