// The indenture fields' headings, widths and texts.
#include "client/pages/IndentureCells.h"

#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "quorex/Text.h"

namespace kvt {

CListColumn IndentureColumn(EIndentureField field) {
    switch (field) {
        case EIndentureField::IndentNo: return {"电子货单号", 80};
        case EIndentureField::Available: return {"可用数量", 80};
        case EIndentureField::FrozenOpen: return {"新订冻结数量", 100};
        case EIndentureField::Occupied: return {"占用数量", 80};
        case EIndentureField::FrozenOffset: return {"转让冻结数量", 100};
        case EIndentureField::Client: return {"交易代码", 80};
        case EIndentureField::Member: return {"席位代码", 80};
        case EIndentureField::Category: return {"种类代码", 120};
        case EIndentureField::Region: return {"交货地代码", 100};
        case EIndentureField::Warehouse: return {"仓库代码", 80};
        case EIndentureField::Expiry: return {"有效期", 60};
        case EIndentureField::OriginalNo: return {"原始仓单号", 120};
        case EIndentureField::Registered: return {"注册数量", 80};
        case EIndentureField::Deregistered: return {"注销数量", 80};
        case EIndentureField::Delivered: return {"交收数量", 80};
        case EIndentureField::UsableInYq: return {"是否可用", 80};
    }
    return {"", 80};
}

std::vector<CListColumn> IndentureColumns(const std::vector<EIndentureField>& fields) {
    std::vector<CListColumn> columns;
    for (EIndentureField field : fields) columns.push_back(IndentureColumn(field));
    return columns;
}

std::string IndentureCellText(const TElctIndenture& r, EIndentureField field) {
    switch (field) {
        case EIndentureField::IndentNo: return quorex::TextOf(r.indentNo);
        case EIndentureField::Available: return FormatInteger(r.avaAmount);
        case EIndentureField::FrozenOpen: return FormatInteger(r.frznYqOpen);
        case EIndentureField::Occupied: return FormatInteger(r.ocuAmountYq);
        case EIndentureField::FrozenOffset: return FormatInteger(r.frznYqOffset);
        case EIndentureField::Client: return quorex::TextOf(r.clientID);
        case EIndentureField::Member: return quorex::TextOf(r.memberID);
        case EIndentureField::Category: return quorex::TextOf(r.cateID);
        case EIndentureField::Region: return quorex::TextOf(r.regionCode);
        case EIndentureField::Warehouse: return FormatInteger(r.warehouseID);
        case EIndentureField::Expiry: return quorex::TextOf(r.expDate);
        case EIndentureField::OriginalNo: return quorex::TextOf(r.originalNo);
        case EIndentureField::Registered: return FormatInteger(r.lginAmount);
        case EIndentureField::Deregistered: return FormatInteger(r.lgoutAmount);
        case EIndentureField::Delivered: return FormatInteger(r.deliAmount);
        case EIndentureField::UsableInYq: return quorex::GbkToUtf8(YesNoText(r.canUseInYq));
    }
    return std::string();
}

}  // namespace kvt
