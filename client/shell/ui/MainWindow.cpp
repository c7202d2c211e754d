// CMainWindow: the frame's widgets and their wiring to CMainFrame.
#include "client/shell/ui/MainWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <algorithm>

#include "client/shell/ui/AboutDialog.h"
#include "client/shell/ui/Accessibility.h"
#include "client/shell/ui/PasswordDialogWidget.h"

namespace kvt {

namespace {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

CMainWindow::CMainWindow(CMainFrame& frame, const CClientServices& services, QWidget* orderView, QWidget* tabView)
    : m_frame(frame), m_services(services), m_orderView(orderView) {
    setWindowTitle(QStringLiteral("版本2.9 - Kvt电子交易系统---交易客户端"));
    setMenuWidget(MakeButtonStrip());

    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->addWidget(orderView);
    m_splitter->addWidget(tabView);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);

    m_statusPane = new QLabel(this);
    m_statusPane->setMinimumWidth(90);
    m_clockPane = new QLabel(this);
    // 180 pixels as the frame was designed, wider when the weekday and the tabs need more.
    m_clockPane->setMinimumWidth(180);
    // The panes read apart: the last response, and the exchange's clock.
    DescribeDisplay(m_statusPane, QStringLiteral("状态信息"));
    DescribeDisplay(m_clockPane, QStringLiteral("时钟"));
    statusBar()->addWidget(m_statusPane, 1);
    statusBar()->addPermanentWidget(m_clockPane);

    m_frame.SetView(this);
}

CMainWindow::~CMainWindow() { m_frame.SetView(nullptr); }

QWidget* CMainWindow::MakeButtonStrip() {
    auto* strip = new QWidget(this);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(6, 4, 6, 4);
    m_responseText = new QLabel(strip);
    DescribeDisplay(m_responseText, QStringLiteral("回应信息"));
    m_batch = new QPushButton(QStringLiteral("批量模式"), strip);
    m_refresh = new QPushButton(QStringLiteral("刷新"), strip);
    m_password = new QPushButton(QStringLiteral("密码修改"), strip);
    m_mode = new QPushButton(QStringLiteral("简化模式"), strip);
    m_batch->hide();
    layout->addWidget(m_responseText, 1);
    for (QPushButton* button : {m_batch, m_refresh, m_password, m_mode}) {
        button->setAutoDefault(false);
        layout->addWidget(button);
    }
    connect(m_batch, &QPushButton::clicked, this, [this] { m_frame.OnToggleBatch(); });
    connect(m_refresh, &QPushButton::clicked, this, [this] { m_frame.OnRefresh(); });
    connect(m_password, &QPushButton::clicked, this, [this] { ChangePassword(); });
    connect(m_mode, &QPushButton::clicked, this, [this] { m_frame.OnToggleMode(); });
    // The desktop has no system menu to carry "作者"; the strip's context menu does.
    strip->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(strip, &QWidget::customContextMenuRequested, this, [this, strip](const QPoint& at) {
        QMenu menu;
        menu.addAction(QStringLiteral("作者"), this, [this] { ShowAbout(); });
        menu.exec(strip->mapToGlobal(at));
    });
    return strip;
}

void CMainWindow::LayOut() {
    // A window that fits a 1366 x 768 desktop and grows no larger than needed on bigger ones.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const int width = std::min(1280, available.width() - 40);
    const int height = std::min(780, available.height() - 60);
    resize(width, height);
    move(available.left() + (available.width() - width) / 2, available.top() + (available.height() - height) / 2);
    const int formHeight = m_orderView->sizeHint().height();
    m_splitter->setSizes({formHeight, height - formHeight});
    m_frame.SetModeHeights(height, formHeight + menuWidget()->sizeHint().height() + statusBar()->sizeHint().height());
}

int CMainWindow::FormHeight() const { return m_splitter->sizes().value(0); }

void CMainWindow::SetFormHeight(int height) {
    // As LayOut: the splitter keeps the sizes and applies them once it is laid out.
    m_splitter->setSizes({height, std::max(1, this->height() - height)});
}

void CMainWindow::ShowAbout() {
    CAboutDialog about(this);
    about.exec();
}

void CMainWindow::ChangePassword() {
    CPasswordDialogWidget dialog(m_services.api, m_services.requests, this);
    dialog.exec();
}

void CMainWindow::closeEvent(QCloseEvent* event) {
    if (m_frame.OnCloseRequest()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void CMainWindow::ShowResponseText(const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    m_statusPane->setText(text);
    m_responseText->setText(text);
}

void CMainWindow::ShowClock(const std::string& utf8) { m_clockPane->setText(QString::fromStdString(utf8)); }

void CMainWindow::SetWindowHeight(int height) { resize(width(), height); }

void CMainWindow::SetModeCaption(std::string_view utf8) { m_mode->setText(Utf8(utf8)); }

void CMainWindow::SetBatchCaption(std::string_view utf8) { m_batch->setText(Utf8(utf8)); }

void CMainWindow::PostClose() { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); }

}  // namespace kvt
