// CPasswordDialogWidget: the "密码修改" dialog: old password (32 characters), new password and
// its confirmation, all hidden, 确定 and 取消, and its status line. Enter and 确定 go to
// CPasswordDialog; 取消, Escape and the close box end the dialog.
//
// Thread contract: user interface thread only. Ownership: owns the dialog's logic, which is
// registered with the API object for as long as the dialog exists.
#pragma once

#include <QDialog>

#include "client/shell/PasswordDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kvt {

class CPasswordDialogWidget : public QDialog, private CPasswordDialogView {
public:
    CPasswordDialogWidget(CClientApi& api, CExchangeRequests& requests, QWidget* parent = nullptr);

    QLineEdit& OldPassword() const { return *m_old; }
    QLineEdit& NewPassword() const { return *m_new; }
    QLineEdit& Confirmation() const { return *m_confirmation; }
    QPushButton& OkButton() const { return *m_ok; }
    QLabel& Status() const { return *m_status; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CPasswordForm Form() const override;
    void SetStatus(const std::string& utf8) override;
    bool IsFocusOnOk() const override;
    void FocusNextControl() override;

    QLineEdit* m_old;
    QLineEdit* m_new;
    QLineEdit* m_confirmation;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QLabel* m_status;
    CPasswordDialog m_logic;
};

}  // namespace kvt
