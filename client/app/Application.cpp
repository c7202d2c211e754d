// CApplication: construction in the order the windows need, the login, and an orderly end.
#include "client/app/Application.h"

#include <unistd.h>

#include <QPushButton>
#include <cstdio>
#include <ctime>

#include "client/pages/PageWindows.h"
#include "client/pages/ui/ListPageWidget.h"
#include "client/pages/ui/MatchPageWidget.h"
#include "client/pages/ui/OrderFormWidget.h"
#include "client/pages/ui/OrderListWidget.h"
#include "client/pages/ui/OrderMultipleWidget.h"
#include "client/pages/ui/PositionPageWidget.h"
#include "client/pages/ui/PreOrderPageWidget.h"
#include "client/pages/ui/QuotationPageWidget.h"
#include "client/shell/LoginDialog.h"
#include "client/shell/LoginSettings.h"
#include "client/shell/ui/ListView.h"
#include "client/shell/ui/LoginDialogWidget.h"
#include "client/shell/ui/MainWindow.h"
#include "client/shell/ui/QtPrompter.h"
#include "client/shell/ui/QtTimers.h"
#include "client/shell/ui/TabControlWidget.h"
#include "client/shell/ui/TerminationSignals.h"

namespace kvt {

std::string LoginSettingsPath() {
    char directory[300];
    if (::getcwd(directory, sizeof directory) == nullptr) return kLoginSettingsFile;
    return std::string(directory) + "/" + kLoginSettingsFile;
}

CApplication::CApplication(const CStartOptions& options, CApplicationHooks hooks)
    : m_options(options), m_hooks(std::move(hooks)), m_api(m_bridge.Bridge(), EventRoutes()), m_apiRequests(m_api),
      m_requests(&m_apiRequests), m_prompter(m_hooks.prompter), m_timers(m_hooks.timers),
      m_status(m_bridge.Bridge(), m_api.Windows().Window(EShellWindow::MainFrame)), m_tabs(m_bridge.Bridge()) {
    if (m_api.initApi() != 0) std::fprintf(stderr, "KvtTrade: the exchange library could not start\n");
    if (m_hooks.wrapRequests) {
        m_wrappedRequests = m_hooks.wrapRequests(m_apiRequests);
        m_requests = m_wrappedRequests.get();
    }
    if (m_prompter == nullptr) {
        m_ownPrompter = std::make_unique<CQtPrompter>();
        m_prompter = m_ownPrompter.get();
    }
    if (m_timers == nullptr) {
        m_ownTimers = std::make_unique<CQtTimers>();
        m_timers = m_ownTimers.get();
    }
    m_services.emplace(CClientServices{m_api, *m_requests, m_bridge.Bridge(), m_status, *m_prompter, *m_timers});
    m_frame = std::make_unique<CMainFrame>(*m_services, m_tabs);
    m_pages = std::make_unique<CClientPages>(*m_services, m_tabs, m_options.advanced);
    m_frame->SetBatchToggle([this] { return m_pages->OrderEntry().ToggleBatchMode(); });
    BuildWindows();
    m_signals = std::make_unique<CTerminationSignals>([this] {
        if (m_loginDialog != nullptr) {
            m_loginDialog->reject();
        } else {
            m_frame->OnTerminationRequest();
        }
    });
}

CApplication::~CApplication() {
    m_signals.reset();
    SaveLayout();
    // The pre-order file is written when the connection is lost; a program that ends while the
    // exchange keeps the connection (a second close) would lose the parked orders without this.
    m_pages->PreOrders().Save();
    // No delivery and no callback from here on; then the windows, then the logic behind them.
    m_api.Stop();
    m_window.reset();
}

void CApplication::BuildWindows() {
    m_tabWidget = new CTabControlWidget(m_tabs);
    m_tabWidget->AddPageWidget(new CQuotationPageWidget(m_pages->Quotations()));
    m_tabWidget->AddPageWidget(new COrderListWidget(m_pages->Orders()));
    m_tabWidget->AddPageWidget(new COrderListWidget(m_pages->UnmatchedOrders()));
    m_tabWidget->AddPageWidget(new CMatchPageWidget(m_pages->Matches()));
    m_tabWidget->AddPageWidget(new CPositionPageWidget(m_pages->Positions()));
    auto* capital = new CListPageWidget(m_pages->Capital());
    capital->View().setShowGrid(true);
    m_tabWidget->AddPageWidget(capital);
    m_tabWidget->AddPageWidget(new CListPageWidget(m_pages->ElctIndentures()));
    auto* preOrders = new CPreOrderPageWidget(m_pages->PreOrders());
    if (m_options.advanced) {
        m_tabWidget->AddPageWidget(preOrders);
    } else {
        m_tabWidget->AddHiddenWidget(preOrders);
    }

    m_orderForm = new COrderFormWidget(m_pages->OrderEntry(), m_pages->IndentureSelect());
    new COrderMultipleWidget(m_pages->BatchPanel(), *m_orderForm);  // placed in the form, owned by it
    m_window = std::make_unique<CMainWindow>(*m_frame, *m_services, m_orderForm, m_tabWidget);
    m_window->BatchButton().setVisible(m_options.advanced);
    m_window->LayOut();
    ConnectLists();
    m_frame->StartClock();
}

void CApplication::ForEachTabList(const std::function<void(CListView&, const std::string& title)>& visit) {
    for (int page = 0; page < m_tabs.PageCount(); ++page) {
        for (CListView* list : m_tabWidget->PageWidget(page)->findChildren<CListView*>()) {
            visit(*list, m_tabs.Title(page));
        }
    }
}

void CApplication::ConnectLists() {
    m_listExport.emplace(*m_prompter, [] { return std::time(nullptr); });
    if (!m_hooks.layoutFile.empty()) m_layout = ReadLayoutSettings(m_hooks.layoutFile);
    ForEachTabList([this](CListView& list, const std::string& title) {
        list.EnableExport(*m_listExport, title);
        const std::size_t columns = list.ListModel().Rows().Columns().size();
        if (auto widths = m_layout.WidthsFor(title, columns)) list.KeepColumnWidths(std::move(*widths));
    });
    if (m_layout.splitter) m_window->SetFormHeight(*m_layout.splitter);
}

void CApplication::SaveLayout() {
    if (m_hooks.layoutFile.empty()) return;
    ForEachTabList([this](const CListView& list, const std::string& title) {
        m_layout.columnWidths[title] = list.ColumnWidths();
    });
    m_layout.splitter = m_window->FormHeight();
    // A layout that cannot be kept (a read-only directory, a full disk) costs nothing but itself.
    WriteLayoutSettings(m_hooks.layoutFile, m_layout);
}

bool CApplication::ShowsAccountAndMarket() const {
    return m_pages->Capital().Records().Size() > 0 && m_pages->Quotations().RowCount() > 0;
}

bool CApplication::Start() {
    CLoginDialog logic(m_api, *m_requests, *m_timers, m_options.servers, LoginSettingsPath());
    CLoginDialogWidget dialog(logic);
    if (m_hooks.onLoginDialog) {
        QMetaObject::invokeMethod(&dialog, [this, &dialog] { m_hooks.onLoginDialog(dialog); }, Qt::QueuedConnection);
    }
    m_loginDialog = &dialog;
    const int result = dialog.exec();
    m_loginDialog = nullptr;
    if (result != QDialog::Accepted) return false;
    m_window->show();
    m_window->raise();
    return true;
}

}  // namespace kvt
