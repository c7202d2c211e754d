// CLoginDialogWidget: the login dialog's window, "Kvt电子交易系统---登陆": server list, trader
// code (8 characters), password (32, hidden), 登陆 and 退出, the two check boxes and the status
// line, with a busy bar and the count of records received while the initial data downloads.
// Enter and 登陆 go to CLoginDialog; 退出, Escape and the close box end the dialog with Cancel.
//
// Thread contract: user interface thread only.
#pragma once

#include <QDialog>

#include "client/shell/LoginDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kvt {

class CLoginDialogWidget : public QDialog, private CLoginDialogView {
public:
    CLoginDialogWidget(CLoginDialog& logic, QWidget* parent = nullptr);

    QComboBox& Servers() const { return *m_servers; }
    QLineEdit& TraderCode() const { return *m_traderCode; }
    QLineEdit& Password() const { return *m_password; }
    QPushButton& LoginButton() const { return *m_login; }
    QPushButton& QuitButton() const { return *m_quit; }
    QCheckBox& Remember() const { return *m_remember; }
    QCheckBox& AutoLogin() const { return *m_autoLogin; }
    QLabel& Status() const { return *m_status; }
    QLabel& ProgressCount() const { return *m_progressCount; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CLoginForm Form() const override;
    void SetForm(const CLoginForm& form) override;
    void SetStatus(const std::string& utf8) override;
    void SetLoginEnabled(bool enabled) override;
    bool IsFocusOnLogin() const override;
    void FocusNextControl() override;
    void Focus(ELoginControl control) override;
    void ShowDownloadProgress(std::uint64_t records) override;
    void Accept() override;

    CLoginDialog& m_logic;
    bool m_initialised = false;
    QComboBox* m_servers;
    QLineEdit* m_traderCode;
    QLineEdit* m_password;
    QPushButton* m_login;
    QPushButton* m_quit;
    QCheckBox* m_remember;
    QCheckBox* m_autoLogin;
    QLabel* m_status;
    QProgressBar* m_progress;
    QLabel* m_progressCount;
};

}  // namespace kvt
