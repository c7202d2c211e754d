// CPageCapital: the capital rows from the last record, and the refresh query.
#include "client/pages/PageCapital.h"

#include <array>

#include "client/shell/CapitalQuery.h"
#include "client/shell/ClientApi.h"
#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/ResponseCode.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

// The page shows one record in rows: each row's label, and its content.
enum class ECapitalField { Label, Content };

constexpr CFieldColumn<ECapitalField> kFields[] = {
    {"资金账户", 200, ECapitalField::Label}, {"内容", 360, ECapitalField::Content, EAlign::Left}};
constexpr auto kColumns = PlainColumns(kFields);

// Rows 2 to 23: the label and the amount shown in column 1.
struct CAmountRow {
    const char* label;
    double TMemberCapital::*amount;
};

constexpr std::array<CAmountRow, CPageCapital::kRowCount - 2> kAmountRows = {{
    {"当日可用资金", &TMemberCapital::todayBalance},
    {"可用信用额度", &TMemberCapital::availCredit},
    {"信用额度", &TMemberCapital::credit},
    {"资金控制线", &TMemberCapital::control},
    {"当日入金", &TMemberCapital::todayIn},
    {"当日出金", &TMemberCapital::todayOut},
    {"当日合同定金", &TMemberCapital::todayOccupied},
    {"冻结合同定金", &TMemberCapital::frozen},
    {"冻结违约合同定金", &TMemberCapital::breach},
    {"当日合同帐面盈利", &TMemberCapital::todayPseudoReturn},
    {"当日合同帐面亏损", &TMemberCapital::todayPseudoLost},
    {"当日盈亏", &TMemberCapital::profit},
    {"违约金支出/收入", &TMemberCapital::breachFee},
    {"当日已收货款", &TMemberCapital::received},
    {"当日已付货款", &TMemberCapital::payment},
    {"当日应收货款", &TMemberCapital::receivable},
    {"上日可用资金", &TMemberCapital::lastBalance},
    {"上日合同定金", &TMemberCapital::lastOccupied},
    {"上日冻结违约合同定金", &TMemberCapital::lastBreach},
    {"上日合同帐面盈利", &TMemberCapital::lastPseudoReturn},
    {"上日合同帐面亏损", &TMemberCapital::lastPseudoLost},
    {"上日应收货款", &TMemberCapital::lastReceivable},
}};

}  // namespace

CPageCapital::CPageCapital(CClientApi& api, CExchangeRequests& requests)
    : m_api(api), m_requests(requests), m_records({&CompareMemberCapitalKey}) {}

std::span<const CListColumn> CPageCapital::Columns() const { return kColumns; }

std::string CPageCapital::CellText(int row, int column) const {
    if (kFields[static_cast<std::size_t>(column)].field == ECapitalField::Label) {
        if (row == 0) return "席位代码";
        if (row == 1) return "账户类型";
        return kAmountRows[static_cast<std::size_t>(row - 2)].label;
    }
    if (m_shown == nullptr) return std::string();
    if (row == 0) return quorex::TextOf(m_shown->memberID);
    if (row == 1) return quorex::GbkToUtf8(AccountTypeText(m_shown->accountType));
    return FormatWhole(m_shown->*kAmountRows[static_cast<std::size_t>(row - 2)].amount);
}

void CPageCapital::onRecvRspQryMemberCapital(const TMemberCapital* capital, const TTRspMsg& rsp) {
    if (capital == nullptr || !IsSuccess(&rsp)) return;
    m_shown = m_records.Upsert(*capital).record;
    RowsChanged(0, kRowCount - 1);
}

void CPageCapital::OnMessage(unsigned message, WParam, LParam) {
    if (message == WM_PAGE_REFRESH) m_requests.ReqQryMemberCapital(OwnCapitalQuery(m_api.LoginState().Trader()));
}

}  // namespace kvt
