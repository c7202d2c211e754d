// CPasswordDialog: the logic of the password change dialog. It checks the three entries, sends one
// password update with the old and the new password as MD5 digests, and shows the exchange's
// answer in its own status line, whatever the code. It never closes by itself.
//
// Thread contract: user interface thread only.
// Ownership: registers itself as the API's password dialog for its lifetime.
#pragma once

#include <string>

#include "client/shell/TraderEvents.h"

namespace kvt {

class CClientApi;
class CExchangeRequests;

struct CPasswordForm {
    std::string oldPassword;  // UTF-8
    std::string newPassword;
    std::string confirmation;
};

class CPasswordDialogView {
public:
    virtual ~CPasswordDialogView() = default;
    virtual CPasswordForm Form() const = 0;
    virtual void SetStatus(const std::string& utf8) = 0;
    virtual bool IsFocusOnOk() const = 0;
    virtual void FocusNextControl() = 0;
};

class CPasswordDialog : public CTraderEvents {
public:
    CPasswordDialog(CClientApi& api, CExchangeRequests& requests, CPasswordDialogView& view);
    ~CPasswordDialog() override;
    CPasswordDialog(const CPasswordDialog&) = delete;
    CPasswordDialog& operator=(const CPasswordDialog&) = delete;

    // Button 确定 or the Enter key.
    void OnOk();
    // The answer's text.
    void onRecvRspTraderPasswordUpdate(const TReqTraderPasswordUpdate* update, const TTRspMsg& rsp) override;

private:
    CClientApi& m_api;
    CExchangeRequests& m_requests;
    CPasswordDialogView& m_view;
};

}  // namespace kvt
