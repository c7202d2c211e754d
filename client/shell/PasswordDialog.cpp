// CPasswordDialog: checks, the update request with both digests, the answer's text.
#include "client/shell/PasswordDialog.h"

#include "client/shell/ClientApi.h"
#include "client/shell/ExchangeRequests.h"
#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"

namespace kvt {

CPasswordDialog::CPasswordDialog(CClientApi& api, CExchangeRequests& requests, CPasswordDialogView& view)
    : m_api(api), m_requests(requests), m_view(view) {
    m_api.Windows().Register(EShellWindow::PasswordDialog, this);
}

CPasswordDialog::~CPasswordDialog() { m_api.Windows().Register(EShellWindow::PasswordDialog, nullptr); }

void CPasswordDialog::OnOk() {
    if (!m_view.IsFocusOnOk()) {
        m_view.FocusNextControl();
        return;
    }
    const CPasswordForm form = m_view.Form();
    if (form.oldPassword.empty() || form.newPassword.empty() || form.confirmation.empty()) {
        m_view.SetStatus("密码不能为空");
        return;
    }
    if (form.newPassword != form.confirmation) {
        m_view.SetStatus("两次输入的密码不一致！");
        return;
    }
    TReqTraderPasswordUpdate update{};
    const TTrader& trader = m_api.LoginState().Trader();
    quorex::SetText(update.traderID, quorex::FieldText(trader.traderID));
    quorex::SetText(update.memberID, quorex::FieldText(trader.memberID));
    quorex::SetText(update.oldPassword, quorex::PasswordDigest(quorex::Utf8ToGbk(form.oldPassword)));
    quorex::SetText(update.newPassword, quorex::PasswordDigest(quorex::Utf8ToGbk(form.newPassword)));
    // A failed send is not reported; nothing is shown when it has been handed over.
    m_requests.ReqTraderPasswordUpdate(update);
}

void CPasswordDialog::onRecvRspTraderPasswordUpdate(const TReqTraderPasswordUpdate*, const TTRspMsg& rsp) {
    m_view.SetStatus(quorex::TextOf(rsp.RspMsg));
}

}  // namespace kvt
