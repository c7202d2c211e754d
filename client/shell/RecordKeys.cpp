// The index-0 keys of the shell's record tables.
#include "client/shell/RecordKeys.h"

#include "quorex/Records.h"

namespace kvt {

int CompareMemberCapitalKey(const void* a, const void* b) {
    const auto& left = *static_cast<const TMemberCapital*>(a);
    const auto& right = *static_cast<const TMemberCapital*>(b);
    const int order = CompareText(left.memberID, right.memberID);
    if (order != 0) return order;
    return CompareBytes(static_cast<unsigned char>(left.accountType), static_cast<unsigned char>(right.accountType));
}

int CompareElctIndentureKey(const void* a, const void* b) {
    return CompareText(static_cast<const TElctIndenture*>(a)->indentNo, static_cast<const TElctIndenture*>(b)->indentNo);
}

int CompareInstrumentKey(const void* a, const void* b) {
    return CompareText(static_cast<const TYuanQiInst*>(a)->instID, static_cast<const TYuanQiInst*>(b)->instID);
}

}  // namespace kvt
