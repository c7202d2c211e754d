// CPasswordDialogWidget: the three edits and the view calls of the password logic.
#include "client/shell/ui/PasswordDialogWidget.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "client/shell/ui/Accessibility.h"

namespace kvt {

CPasswordDialogWidget::CPasswordDialogWidget(CClientApi& api, CExchangeRequests& requests, QWidget* parent)
    : QDialog(parent), m_old(new QLineEdit(this)), m_new(new QLineEdit(this)), m_confirmation(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("确定"), this)), m_cancel(new QPushButton(QStringLiteral("取消"), this)),
      m_status(new QLabel(this)), m_logic(api, requests, *this) {
    setWindowTitle(QStringLiteral("密码修改"));
    m_old->setMaxLength(32);
    for (QLineEdit* edit : {m_old, m_new, m_confirmation}) edit->setEchoMode(QLineEdit::Password);
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    m_status->setMinimumWidth(280);
    DescribeDisplay(m_status, QStringLiteral("修改结果"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(LabelFor(m_old, QStringLiteral("旧密码"), this), 0, 0);
    layout->addWidget(m_old, 0, 1, 1, 2);
    layout->addWidget(LabelFor(m_new, QStringLiteral("新密码"), this), 1, 0);
    layout->addWidget(m_new, 1, 1, 1, 2);
    layout->addWidget(LabelFor(m_confirmation, QStringLiteral("验证新密码"), this), 2, 0);
    layout->addWidget(m_confirmation, 2, 1, 1, 2);
    layout->addWidget(m_ok, 3, 1);
    layout->addWidget(m_cancel, 3, 2);
    layout->addWidget(m_status, 4, 0, 1, 3);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_ok->setFocus(Qt::MouseFocusReason);
        m_logic.OnOk();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_old->setFocus(Qt::OtherFocusReason);
}

void CPasswordDialogWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_logic.OnOk();
        return;
    }
    QDialog::keyPressEvent(event);
}

CPasswordForm CPasswordDialogWidget::Form() const {
    return {m_old->text().toStdString(), m_new->text().toStdString(), m_confirmation->text().toStdString()};
}

void CPasswordDialogWidget::SetStatus(const std::string& utf8) { m_status->setText(QString::fromStdString(utf8)); }

bool CPasswordDialogWidget::IsFocusOnOk() const { return focusWidget() == m_ok; }

void CPasswordDialogWidget::FocusNextControl() { focusNextChild(); }

}  // namespace kvt
