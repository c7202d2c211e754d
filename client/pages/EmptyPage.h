// CEmptyPage: a registered receiver that shows nothing yet, for the pages whose logic comes later.
#pragma once

#include "client/shell/ListRows.h"
#include "client/shell/MessageTarget.h"

namespace kvt {

class CEmptyPage : public CMessageTarget, public CListRows {
public:
    int RowCount() const override { return 0; }
    std::span<const CListColumn> Columns() const override { return {}; }
    std::string CellText(int, int) const override { return std::string(); }
    void OnMessage(unsigned, WParam, LParam) override {}
};

}  // namespace kvt
