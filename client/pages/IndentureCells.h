// The cells of an electronic indenture, shared by the lists that show indentures (the 电子货单
// page and the indenture selection): each field's column heading and width, and its text.
#pragma once

#include <string>
#include <vector>

#include "client/shell/ListRows.h"
#include "quorex/Records.h"

namespace kvt {

enum class EIndentureField {
    IndentNo,      // 电子货单号
    Available,     // 可用数量
    FrozenOpen,    // 新订冻结数量
    Occupied,      // 占用数量
    FrozenOffset,  // 转让冻结数量
    Client,        // 交易代码
    Member,        // 席位代码
    Category,      // 种类代码
    Region,        // 交货地代码
    Warehouse,     // 仓库代码
    Expiry,        // 有效期
    OriginalNo,    // 原始仓单号
    Registered,    // 注册数量
    Deregistered,  // 注销数量
    Delivered,     // 交收数量
    UsableInYq,    // 是否可用
};

// The centred column of a field.
CListColumn IndentureColumn(EIndentureField field);
std::vector<CListColumn> IndentureColumns(const std::vector<EIndentureField>& fields);
// UTF-8: texts as they stand, numbers "%d", 是否可用 through the yes/no text.
std::string IndentureCellText(const TElctIndenture& indenture, EIndentureField field);

}  // namespace kvt
