#include <gtest/gtest.h>

#include <cstring>

#include "client/shell/RecordKeys.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/Records.h"

using namespace kvt;

namespace {

TElctIndenture Indenture(const char* indentNo, int amount) {
    TElctIndenture indenture{};
    std::strcpy(indenture.indentNo, indentNo);
    indenture.avaAmount = amount;
    return indenture;
}

}  // namespace

TEST(TypedRecordTable, StoresWholeRecordsAndReturnsThemTyped) {
    CTypedRecordTable<TElctIndenture> table({CompareElctIndentureKey});
    EXPECT_EQ(table.Untyped().RecordSize(), sizeof(TElctIndenture));
    const TElctIndenture* first = table.Insert(Indenture("0000000001", 5));
    table.Insert(Indenture("0000000002", 7));
    ASSERT_EQ(table.Size(), 2u);
    EXPECT_EQ(&table.At(0), first);
    EXPECT_EQ(table.At(1).avaAmount, 7);
    EXPECT_EQ(table.Find(Indenture("0000000001", 0)), first);
    EXPECT_EQ(table.Find(Indenture("0000000003", 0)), nullptr);
}

TEST(TypedRecordTable, UpsertOverwritesInPlaceOrInsertsAndClearEmpties) {
    CTypedRecordTable<TElctIndenture> table({CompareElctIndentureKey});
    const TElctIndenture* stored = table.Insert(Indenture("0000000001", 5));
    const auto overwritten = table.Upsert(Indenture("0000000001", 9));
    EXPECT_FALSE(overwritten.inserted);
    EXPECT_EQ(overwritten.record, stored);
    EXPECT_EQ(stored->avaAmount, 9);
    const auto inserted = table.Upsert(Indenture("0000000002", 1));
    EXPECT_TRUE(inserted.inserted);
    EXPECT_EQ(table.Size(), 2u);
    table.Clear();
    EXPECT_EQ(table.Size(), 0u);
    EXPECT_EQ(table.Find(Indenture("0000000001", 0)), nullptr);
}
