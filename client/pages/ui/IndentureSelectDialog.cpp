// CIndentureSelectDialog: the check-box-and-amount list and its two buttons.
#include "client/pages/ui/IndentureSelectDialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "client/shell/ui/ListView.h"

namespace kvt {

namespace {

// The amount beside the check box takes digits only.
class CAmountDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        }
        return editor;
    }
};

}  // namespace

CIndentureSelectDialog::CIndentureSelectDialog(CPageIndentureSelect& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic), m_model(logic), m_view(new CListView(m_model, this)),
      m_confirm(new QPushButton(QStringLiteral("确定"), this)), m_cancel(new QPushButton(QStringLiteral("取消"), this)) {
    setWindowTitle(QStringLiteral("电子货单选择"));
    setModal(false);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->setItemDelegateForColumn(0, new CAmountDelegate(m_view));
    for (QPushButton* button : {m_confirm, m_cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_confirm);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
    resize(900, 320);

    // A click takes the focus from an amount being edited, which commits it before the logic reads it.
    connect(m_confirm, &QPushButton::clicked, this, [this] { m_logic.OnConfirm(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_logic.OnCancel(); });
    m_logic.Attach(this);
}

CIndentureSelectDialog::~CIndentureSelectDialog() { m_logic.Attach(nullptr); }

void CIndentureSelectDialog::reject() { m_logic.OnCancel(); }

void CIndentureSelectDialog::Show() {
    show();
    raise();
    activateWindow();
}

void CIndentureSelectDialog::Close() { hide(); }

}  // namespace kvt
