// COrderMultipleWidget: the batch panel's controls, their input limits and the Enter key.
#include "client/pages/ui/OrderMultipleWidget.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "client/pages/ui/OrderFormWidget.h"
#include "client/shell/ui/Accessibility.h"

namespace kvt {

namespace {

constexpr int kEditWidth = 70;

bool IsEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QLineEdit* LimitedEdit(QWidget* parent, const QString& allowed) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(allowed), edit));
    edit->setFixedWidth(kEditWidth);
    return edit;
}

}  // namespace

COrderMultipleWidget::COrderMultipleWidget(CPageOrderMultiple& panel, COrderFormWidget& form)
    : QWidget(&form.BatchFrame()), m_panel(panel),
      m_priceStep(LimitedEdit(this, QStringLiteral("[-0-9]*"))),
      m_orderCount(LimitedEdit(this, QStringLiteral("[0-9]*"))),
      m_preOrder(new QPushButton(QStringLiteral("预埋"), this)), m_place(new QPushButton(QStringLiteral("下单"), this)) {
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(LabelFor(m_priceStep, QStringLiteral("价格幅度"), this), 0, 0);
    grid->addWidget(m_priceStep, 0, 1);
    grid->addWidget(LabelFor(m_orderCount, QStringLiteral("委托笔数"), this), 1, 0);
    grid->addWidget(m_orderCount, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* button : {m_preOrder, m_place}) {
        // Enter is the panel's to handle, not a default button's.
        button->setAutoDefault(false);
        button->setDefault(false);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);

    QWidget* chain[] = {m_priceStep, m_orderCount, m_preOrder, m_place};
    for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
    for (QWidget* control : chain) control->installEventFilter(this);
    connect(m_preOrder, &QPushButton::clicked, this, [this] { m_panel.OnPreOrders(); });
    connect(m_place, &QPushButton::clicked, this, [this] { m_panel.OnPlaceOrders(); });

    form.BatchFrame().layout()->addWidget(this);
    form.SetBatchPriceStepBox(m_priceStep);
    m_panel.Attach(this);
}

COrderMultipleWidget::~COrderMultipleWidget() { m_panel.Attach(nullptr); }

bool COrderMultipleWidget::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnter(event)) {
        m_panel.OnEnter(ControlOf(watched));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

EBatchControl COrderMultipleWidget::ControlOf(const QObject* object) const {
    if (object == m_priceStep) return EBatchControl::PriceStep;
    if (object == m_orderCount) return EBatchControl::OrderCount;
    if (object == m_preOrder) return EBatchControl::PreOrder;
    if (object == m_place) return EBatchControl::Place;
    return EBatchControl::Other;
}

std::string COrderMultipleWidget::PriceStepText() const { return m_priceStep->text().toStdString(); }
void COrderMultipleWidget::SetPriceStepText(const std::string& text) { m_priceStep->setText(QString::fromStdString(text)); }
std::string COrderMultipleWidget::OrderCountText() const { return m_orderCount->text().toStdString(); }
void COrderMultipleWidget::SetOrderCountText(const std::string& text) {
    m_orderCount->setText(QString::fromStdString(text));
}

void COrderMultipleWidget::Focus(EBatchControl control) {
    switch (control) {
        case EBatchControl::PriceStep: m_priceStep->setFocus(Qt::OtherFocusReason); break;
        case EBatchControl::OrderCount: m_orderCount->setFocus(Qt::OtherFocusReason); break;
        case EBatchControl::PreOrder: m_preOrder->setFocus(Qt::OtherFocusReason); break;
        case EBatchControl::Place: m_place->setFocus(Qt::OtherFocusReason); break;
        case EBatchControl::Other: break;
    }
}

void COrderMultipleWidget::FocusNextControl() { focusNextChild(); }

}  // namespace kvt
