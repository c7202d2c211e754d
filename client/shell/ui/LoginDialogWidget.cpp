// CLoginDialogWidget: the form, and the view calls of the login logic.
#include "client/shell/ui/LoginDialogWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "client/shell/ui/Accessibility.h"

namespace kvt {

CLoginDialogWidget::CLoginDialogWidget(CLoginDialog& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic), m_servers(new QComboBox(this)), m_traderCode(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_login(new QPushButton(QStringLiteral("登陆"), this)),
      m_quit(new QPushButton(QStringLiteral("退出"), this)),
      m_remember(new QCheckBox(QStringLiteral("记住密码"), this)),
      m_autoLogin(new QCheckBox(QStringLiteral("自动登陆"), this)), m_status(new QLabel(this)),
      m_progress(new QProgressBar(this)), m_progressCount(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Kvt电子交易系统---登陆"));
    for (int i = 0; i < 4; ++i) m_servers->addItem(QString::fromStdString(ServerName(i)));
    m_traderCode->setMaxLength(8);
    m_password->setMaxLength(32);
    m_password->setEchoMode(QLineEdit::Password);
    for (QPushButton* button : {m_login, m_quit}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    m_status->setMinimumWidth(360);
    m_status->setWordWrap(true);
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(10);
    m_progress->hide();
    m_progressCount->hide();
    DescribeDisplay(m_status, QStringLiteral("登陆状态"));
    NameControl(m_progress, QStringLiteral("下载进度"));
    DescribeDisplay(m_progressCount, QStringLiteral("已下载记录数"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(LabelFor(m_servers, QStringLiteral("通讯设置"), this), 0, 0);
    layout->addWidget(m_servers, 0, 1, 1, 2);
    layout->addWidget(LabelFor(m_traderCode, QStringLiteral("交易员代码"), this), 1, 0);
    layout->addWidget(m_traderCode, 1, 1, 1, 2);
    layout->addWidget(LabelFor(m_password, QStringLiteral("密码"), this), 2, 0);
    layout->addWidget(m_password, 2, 1, 1, 2);
    layout->addWidget(m_remember, 3, 1);
    layout->addWidget(m_autoLogin, 3, 2);
    layout->addWidget(m_login, 4, 1);
    layout->addWidget(m_quit, 4, 2);
    layout->addWidget(m_status, 5, 0, 1, 3);
    layout->addWidget(m_progress, 6, 0, 1, 2);
    layout->addWidget(m_progressCount, 6, 2);
    setTabOrder(m_servers, m_traderCode);
    setTabOrder(m_traderCode, m_password);
    setTabOrder(m_password, m_login);
    setTabOrder(m_login, m_quit);
    setTabOrder(m_quit, m_remember);
    setTabOrder(m_remember, m_autoLogin);

    connect(m_login, &QPushButton::clicked, this, [this] {
        // A click puts the focus on the button, as the logic expects of a click.
        m_login->setFocus(Qt::MouseFocusReason);
        m_logic.OnOk();
    });
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_autoLogin, &QCheckBox::clicked, this, [this] { m_logic.OnAutoLoginClicked(); });
}

void CLoginDialogWidget::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_initialised) return;
    m_initialised = true;
    m_logic.Init(*this);
    m_traderCode->setFocus(Qt::OtherFocusReason);
}

void CLoginDialogWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_logic.OnOk();
        return;
    }
    QDialog::keyPressEvent(event);
}

CLoginForm CLoginDialogWidget::Form() const {
    CLoginForm form;
    form.traderCode = m_traderCode->text().toStdString();
    form.password = m_password->text().toStdString();
    form.serverIndex = m_servers->currentIndex();
    form.rememberPassword = m_remember->isChecked();
    form.autoLogin = m_autoLogin->isChecked();
    return form;
}

void CLoginDialogWidget::SetForm(const CLoginForm& form) {
    m_traderCode->setText(QString::fromStdString(form.traderCode));
    m_password->setText(QString::fromStdString(form.password));
    m_servers->setCurrentIndex(form.serverIndex);
    m_remember->setChecked(form.rememberPassword);
    m_autoLogin->setChecked(form.autoLogin);
}

void CLoginDialogWidget::SetStatus(const std::string& utf8) { m_status->setText(QString::fromStdString(utf8)); }

void CLoginDialogWidget::SetLoginEnabled(bool enabled) { m_login->setEnabled(enabled); }

bool CLoginDialogWidget::IsFocusOnLogin() const { return focusWidget() == m_login; }

void CLoginDialogWidget::FocusNextControl() { focusNextChild(); }

void CLoginDialogWidget::Focus(ELoginControl control) {
    (control == ELoginControl::TraderCode ? m_traderCode : m_password)->setFocus(Qt::OtherFocusReason);
}

void CLoginDialogWidget::ShowDownloadProgress(std::uint64_t records) {
    m_progress->show();
    m_progressCount->show();
    m_progressCount->setText(QStringLiteral("已收到 %1 条").arg(records));
}

void CLoginDialogWidget::Accept() { accept(); }

}  // namespace kvt
