// COrderFormWidget: the form's controls, their layout and the view calls of CPageOrder.
#include "client/pages/ui/OrderFormWidget.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "client/pages/PageOrder.h"
#include "client/pages/ui/IndentureSelectDialog.h"
#include "client/shell/ui/Accessibility.h"

namespace kvt {

namespace {

constexpr int kTypedInstrumentLength = 6;
constexpr int kTradingCodeLength = 4;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

QLabel* ValueLabel(QWidget* parent, int minimumWidth) {
    auto* label = new QLabel(parent);
    label->setMinimumWidth(minimumWidth);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return label;
}

QGridLayout* CompactGrid(QWidget* owner) {
    // Each part keeps its natural width; the form's spare width stays at its right end.
    owner->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* grid = new QGridLayout(owner);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    return grid;
}

bool IsEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

COrderFormWidget::COrderFormWidget(CPageOrder& page, CPageIndentureSelect& indentures, QWidget* parent)
    : QWidget(parent), m_page(page), m_instrument(new QComboBox(this)), m_memberLabel(new QLabel(this)),
      m_tradingCode(new QLineEdit(this)), m_price(new QLineEdit(this)), m_amount(new QLineEdit(this)),
      m_amountLabel(new QLabel(QStringLiteral("数量"), this)),
      m_kinds{new QRadioButton(QStringLiteral("买入新订"), this), new QRadioButton(QStringLiteral("卖出新订"), this),
              new QRadioButton(QStringLiteral("转让卖出"), this), new QRadioButton(QStringLiteral("转让买入"), this)},
      m_kindGroup(new QButtonGroup(this)), m_deposit(new QRadioButton(QStringLiteral("定金"), this)),
      m_indenture(new QRadioButton(QStringLiteral("电子货单"), this)), m_guaranteeGroup(new QButtonGroup(this)),
      m_place(new QPushButton(QStringLiteral("下单"), this)), m_choose(new QPushButton(QStringLiteral("选择货单"), this)),
      m_preOrder(new QPushButton(QStringLiteral("预埋"), this)), m_dialog(new CIndentureSelectDialog(indentures, this)) {
    m_instrument->setEditable(true);
    m_instrument->setInsertPolicy(QComboBox::NoInsert);
    // Items are placed in order by the page; typed text is matched exactly, never completed.
    m_instrument->setCompleter(nullptr);
    m_tradingCode->setMaxLength(kTradingCodeLength);
    for (QLineEdit* edit : {m_price, m_amount}) {
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    }
    for (std::size_t i = 0; i < m_kinds.size(); ++i) m_kindGroup->addButton(m_kinds[i], static_cast<int>(i));
    m_guaranteeGroup->addButton(m_deposit, 0);
    m_guaranteeGroup->addButton(m_indenture, 1);
    for (QPushButton* button : {m_place, m_choose, m_preOrder}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(8);
    layout->addWidget(MakeOrderPart());
    layout->addWidget(MakeQuotePart());
    layout->addWidget(MakeAccountPart());
    m_batchFrame = new QFrame(this);
    m_batchFrame->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    m_batchFrame->setLayout(new QVBoxLayout);
    m_batchFrame->layout()->setContentsMargins(2, 2, 2, 2);
    m_batchFrame->hide();
    layout->addWidget(m_batchFrame);
    layout->addStretch();

    QWidget* chain[] = {m_instrument, m_tradingCode, m_price,   m_amount, m_kinds[0], m_kinds[1], m_kinds[2],
                        m_kinds[3],   m_deposit,     m_indenture, m_place, m_choose,    m_preOrder};
    for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
    for (QWidget* control : chain) control->installEventFilter(this);
    m_instrument->lineEdit()->installEventFilter(this);

    ConnectInput();
    m_page.Attach(this);
}

COrderFormWidget::~COrderFormWidget() { m_page.Attach(nullptr); }

QWidget* COrderFormWidget::MakeOrderPart() {
    auto* part = new QWidget(this);
    QGridLayout* grid = CompactGrid(part);
    grid->addWidget(LabelFor(m_instrument, QStringLiteral("商品代码"), part), 0, 0);
    grid->addWidget(m_instrument, 0, 1, 1, 2);
    grid->addWidget(LabelFor(m_tradingCode, QStringLiteral("交易代码"), part), 1, 0);
    DescribeDisplay(m_memberLabel, QStringLiteral("席位代码"));
    grid->addWidget(m_memberLabel, 1, 1);
    m_tradingCode->setFixedWidth(60);
    grid->addWidget(m_tradingCode, 1, 2);
    grid->addWidget(LabelFor(m_price, QStringLiteral("价格"), part), 2, 0);
    grid->addWidget(m_price, 2, 1, 1, 2);
    m_amountLabel->setBuddy(m_amount);
    NameControl(m_amount, m_amountLabel->text());
    grid->addWidget(m_amountLabel, 3, 0);
    grid->addWidget(m_amount, 3, 1, 1, 2);

    auto* kinds = new QHBoxLayout;
    kinds->setSpacing(6);
    for (QRadioButton* kind : m_kinds) kinds->addWidget(kind);
    kinds->addStretch();
    grid->addLayout(kinds, 4, 0, 1, 4);
    auto* guarantee = new QHBoxLayout;
    guarantee->setSpacing(6);
    guarantee->addWidget(m_deposit);
    guarantee->addWidget(m_indenture);
    guarantee->addStretch();
    grid->addLayout(guarantee, 5, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(m_place);
    buttons->addWidget(m_choose);
    buttons->addWidget(m_preOrder);
    buttons->addStretch();
    grid->addLayout(buttons, 6, 0, 1, 4);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(3, 1);
    for (QWidget* field : {static_cast<QWidget*>(m_instrument), static_cast<QWidget*>(m_price),
                           static_cast<QWidget*>(m_amount)}) {
        field->setFixedWidth(130);
    }
    return part;
}

QWidget* COrderFormWidget::MakeQuotePart() {
    auto* part = new QWidget(this);
    QGridLayout* grid = CompactGrid(part);
    static const char* const askNames[] = {"卖一", "卖二", "卖三"};
    static const char* const bidNames[] = {"买一", "买二", "买三"};
    // Asks from the third level down to the first, then bids from the first to the third.
    for (std::size_t level = 0; level < 3; ++level) {
        const int askRow = 2 - static_cast<int>(level);
        const int bidRow = 3 + static_cast<int>(level);
        // Each level's row: its name, then its price and its lots, read as "卖一价" and "卖一量".
        const auto addLevel = [&](const char* name, int row, QLabel*& price, QLabel*& lots) {
            const QString levelName = QString::fromUtf8(name);
            price = ValueLabel(part, 60);
            lots = ValueLabel(part, 50);
            auto* title = new QLabel(levelName, part);
            title->setBuddy(price);
            DescribeDisplay(price, levelName + QStringLiteral("价"));
            DescribeDisplay(lots, levelName + QStringLiteral("量"));
            grid->addWidget(title, row, 0);
            grid->addWidget(price, row, 1);
            grid->addWidget(lots, row, 2);
        };
        addLevel(askNames[level], askRow, m_askPrices[level], m_askLots[level]);
        addLevel(bidNames[level], bidRow, m_bidPrices[level], m_bidLots[level]);
    }
    grid->addWidget(LabelFor(m_current = ValueLabel(part, 60), QStringLiteral("现价"), part), 0, 3);
    grid->addWidget(m_current, 0, 4);
    grid->addWidget(LabelFor(m_upper = ValueLabel(part, 60), QStringLiteral("涨停"), part), 2, 3);
    grid->addWidget(m_upper, 2, 4);
    grid->addWidget(LabelFor(m_lower = ValueLabel(part, 60), QStringLiteral("跌停"), part), 3, 3);
    grid->addWidget(m_lower, 3, 4);
    return part;
}

QWidget* COrderFormWidget::MakeAccountPart() {
    auto* part = new QWidget(this);
    QGridLayout* grid = CompactGrid(part);
    const std::pair<const char*, QLabel**> rows[] = {
        {"买订货量", &m_longAmount}, {"卖订货量", &m_shortAmount}, {"买均价", &m_longAverage},
        {"卖均价", &m_shortAverage}, {"可用资金", &m_available},   {"可用额度", &m_credit},
    };
    int row = 0;
    for (const auto& [title, label] : rows) {
        *label = ValueLabel(part, 90);
        grid->addWidget(LabelFor(*label, QString::fromUtf8(title), part), row, 0);
        grid->addWidget(*label, row++, 1);
    }
    m_affordable = new QLabel(part);
    m_affordable->hide();
    grid->addWidget(m_affordable, row, 1);
    return part;
}

void COrderFormWidget::ConnectInput() {
    connect(m_instrument, &QComboBox::activated, this, [this] { m_page.OnInstrumentSelected(); });
    connect(m_instrument->lineEdit(), &QLineEdit::textEdited, this, [this] { m_page.OnInstrumentEdited(); });
    connect(m_kindGroup, &QButtonGroup::idClicked, this, [this] { m_page.OnOrderKindClicked(); });
    connect(m_guaranteeGroup, &QButtonGroup::idClicked, this, [this] { m_page.OnGuaranteeClicked(); });
    connect(m_place, &QPushButton::clicked, this, [this] { m_page.OnPlaceOrder(); });
    connect(m_choose, &QPushButton::clicked, this, [this] { m_page.OnChooseIndentures(); });
    connect(m_preOrder, &QPushButton::clicked, this, [this] { m_page.OnPreOrder(); });
}

bool COrderFormWidget::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnter(event)) {
        m_page.OnEnter(ControlOf(watched));
        return true;
    }
    if (watched == m_instrument->lineEdit() && event->type() == QEvent::KeyPress) {
        // Typing may not make the text longer than six characters; a longer item may still be picked.
        const auto* key = static_cast<const QKeyEvent*>(event);
        const QLineEdit* edit = m_instrument->lineEdit();
        const bool typesText = !key->text().isEmpty() && key->text().at(0).isPrint();
        if (typesText && edit->text().size() - edit->selectedText().size() + key->text().size() > kTypedInstrumentLength) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

EOrderControl COrderFormWidget::ControlOf(const QObject* object) const {
    if (object == m_instrument || object == m_instrument->lineEdit()) return EOrderControl::Instrument;
    for (int i = 0; i <= static_cast<int>(EOrderControl::PreOrder); ++i) {
        const auto control = static_cast<EOrderControl>(i);
        if (WidgetOf(control) == object) return control;
    }
    return EOrderControl::Other;
}

QWidget* COrderFormWidget::WidgetOf(EOrderControl control) const {
    switch (control) {
        case EOrderControl::Instrument: return m_instrument;
        case EOrderControl::TradingCode: return m_tradingCode;
        case EOrderControl::Price: return m_price;
        case EOrderControl::Amount: return m_amount;
        case EOrderControl::BuyOpen: return m_kinds[0];
        case EOrderControl::SellOpen: return m_kinds[1];
        case EOrderControl::SellOffset: return m_kinds[2];
        case EOrderControl::BuyOffset: return m_kinds[3];
        case EOrderControl::Deposit: return m_deposit;
        case EOrderControl::Indenture: return m_indenture;
        case EOrderControl::Place: return m_place;
        case EOrderControl::ChooseIndentures: return m_choose;
        case EOrderControl::PreOrder: return m_preOrder;
        case EOrderControl::BatchPriceStep: return m_priceStepBox;
        case EOrderControl::Other: break;
    }
    return nullptr;
}

QRadioButton& COrderFormWidget::OrderKindRadio(EOrderKind kind) const { return *m_kinds[static_cast<std::size_t>(kind)]; }

std::string COrderFormWidget::InstrumentText() const { return m_instrument->currentText().toStdString(); }

void COrderFormWidget::SetInstrumentText(const std::string& text) {
    const int index = m_instrument->findText(Text(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        m_instrument->setCurrentIndex(index);
    } else {
        m_instrument->setEditText(Text(text));
    }
}

void COrderFormWidget::InsertInstrumentItem(int position, const std::string& text) {
    // An insertion must not replace what the trader has typed.
    const QString typed = m_instrument->currentText();
    m_instrument->insertItem(position, Text(text));
    if (m_instrument->currentText() != typed) m_instrument->setEditText(typed);
}

void COrderFormWidget::RemoveInstrumentItem(int position) {
    const QString typed = m_instrument->currentText();
    m_instrument->removeItem(position);
    if (m_instrument->currentText() != typed) m_instrument->setEditText(typed);
}

void COrderFormWidget::SetMemberLabel(const std::string& memberID) { m_memberLabel->setText(Text(memberID)); }
std::string COrderFormWidget::TradingCode() const { return m_tradingCode->text().toStdString(); }
void COrderFormWidget::SetTradingCode(const std::string& code) { m_tradingCode->setText(Text(code)); }
std::string COrderFormWidget::PriceText() const { return m_price->text().toStdString(); }
void COrderFormWidget::SetPriceText(const std::string& text) { m_price->setText(Text(text)); }
std::string COrderFormWidget::AmountText() const { return m_amount->text().toStdString(); }
void COrderFormWidget::SetAmountText(const std::string& text) { m_amount->setText(Text(text)); }
void COrderFormWidget::SetAmountEnabled(bool enabled) { m_amount->setEnabled(enabled); }
void COrderFormWidget::SetAmountLabel(const std::string& label) {
    m_amountLabel->setText(Text(label));
    NameControl(m_amount, m_amountLabel->text());
}

EOrderKind COrderFormWidget::OrderKind() const {
    const int id = m_kindGroup->checkedId();
    return id < 0 ? EOrderKind::BuyOpen : static_cast<EOrderKind>(id);
}

void COrderFormWidget::SetOrderKind(EOrderKind kind) { OrderKindRadio(kind).setChecked(true); }

EGuarantee COrderFormWidget::Guarantee() const {
    return m_indenture->isChecked() ? EGuarantee::Indenture : EGuarantee::Deposit;
}

void COrderFormWidget::SetGuarantee(EGuarantee guarantee) {
    (guarantee == EGuarantee::Indenture ? m_indenture : m_deposit)->setChecked(true);
}

void COrderFormWidget::SetIndentureRadioVisible(bool visible) { m_indenture->setVisible(visible); }
void COrderFormWidget::SetChooseIndenturesVisible(bool visible) { m_choose->setVisible(visible); }
void COrderFormWidget::SetPreOrderVisible(bool visible) { m_preOrder->setVisible(visible); }
void COrderFormWidget::SetBatchPanelVisible(bool visible) { m_batchFrame->setVisible(visible); }

void COrderFormWidget::ShowQuote(const COrderQuoteTexts& quote) {
    for (std::size_t level = 0; level < 3; ++level) {
        m_bidPrices[level]->setText(Text(quote.bidPrices[level]));
        m_bidLots[level]->setText(Text(quote.bidLots[level]));
        m_askPrices[level]->setText(Text(quote.askPrices[level]));
        m_askLots[level]->setText(Text(quote.askLots[level]));
    }
    m_current->setText(Text(quote.current));
    m_upper->setText(Text(quote.upper));
    m_lower->setText(Text(quote.lower));
}

void COrderFormWidget::ShowPosition(const COrderPositionTexts& position) {
    m_longAmount->setText(Text(position.longAmount));
    m_shortAmount->setText(Text(position.shortAmount));
    m_longAverage->setText(Text(position.longAverage));
    m_shortAverage->setText(Text(position.shortAverage));
}

void COrderFormWidget::ShowCapital(const std::string& available, const std::string& credit) {
    m_available->setText(Text(available));
    m_credit->setText(Text(credit));
}

void COrderFormWidget::ShowAffordableLots(const std::string& text) { m_affordable->setText(Text(text)); }

void COrderFormWidget::Focus(EOrderControl control) {
    QWidget* target = WidgetOf(control);
    if (target == nullptr && control == EOrderControl::BatchPriceStep) target = m_batchFrame->nextInFocusChain();
    if (target != nullptr) target->setFocus(Qt::OtherFocusReason);
}

void COrderFormWidget::FocusNextControl() { focusNextChild(); }

}  // namespace kvt
