// CApplication: the program's objects and their order of life. Built before the login dialog
// opens: the message bridge, the API object (its reactor thread started at once), the status
// line, the tab control and every page, registered, and the main window, hidden. Start runs the
// login dialog; when it ends with OK the main window is shown. SIGTERM, SIGINT and SIGHUP end the
// program as the close box does (the dialog is left; the main window logs out and closes). On
// destruction the pre-order file is saved, the deliveries and the reactor thread stop, then the
// windows go, then the API object. Every tab page's list offers "导出…" (CSV); the column widths
// and the splitter kept in KvtTrade.ini are applied when the windows are built and written back
// with the trader's changes when the program ends.
//
// Thread contract: user interface thread only; a QApplication must exist.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "client/pages/ClientPages.h"
#include "client/shell/ClientApi.h"
#include "client/shell/CommandLine.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/LayoutSettings.h"
#include "client/shell/ListExport.h"
#include "client/shell/MainFrame.h"
#include "client/shell/PageTabCtrl.h"
#include "client/shell/QtMessageBridge.h"
#include "client/shell/StatusLine.h"

namespace kvt {

class CListView;
class CLoginDialogWidget;
class CMainWindow;
class CTerminationSignals;
class COrderFormWidget;
class CTabControlWidget;

// What tests replace: message boxes, timers, and a wrapper around the real requests.
struct CApplicationHooks {
    CPrompter* prompter = nullptr;  // default: message boxes
    CTimers* timers = nullptr;      // default: the Qt event loop's timers
    std::function<std::unique_ptr<CExchangeRequests>(CExchangeRequests& real)> wrapRequests;
    // Called with the login dialog once it is shown (tests fill it in).
    std::function<void(CLoginDialogWidget&)> onLoginDialog;
    // Where the layout is kept; "" keeps none (tests and benchmarks that leave no files).
    std::string layoutFile = kLayoutSettingsFile;
};

class CApplication {
public:
    explicit CApplication(const CStartOptions& options, CApplicationHooks hooks = {});
    ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // Runs the login dialog: true when the trader logged in and the main window is shown.
    bool Start();

    // The capital page has a record and the quotation page rows.
    bool ShowsAccountAndMarket() const;

    CClientApi& Api() { return m_api; }
    CExchangeRequests& Requests() { return *m_requests; }
    CClientPages& Pages() { return *m_pages; }
    CMainFrame& Frame() { return *m_frame; }
    CPageTabCtrl& Tabs() { return m_tabs; }
    CMainWindow& Window() { return *m_window; }
    CTabControlWidget& TabWidget() { return *m_tabWidget; }
    COrderFormWidget& OrderForm() { return *m_orderForm; }

private:
    void BuildWindows();
    // The tab pages' lists: export, and the kept widths; the kept splitter position.
    void ConnectLists();
    void SaveLayout();
    // Every list of a tab page, with the page's title.
    void ForEachTabList(const std::function<void(CListView&, const std::string& title)>& visit);

    CStartOptions m_options;
    CApplicationHooks m_hooks;
    CQtMessageBridge m_bridge;
    CClientApi m_api;
    CClientApiRequests m_apiRequests;
    std::unique_ptr<CExchangeRequests> m_wrappedRequests;
    CExchangeRequests* m_requests;
    std::unique_ptr<CPrompter> m_ownPrompter;
    std::unique_ptr<CTimers> m_ownTimers;
    CPrompter* m_prompter;
    CTimers* m_timers;
    CStatusLine m_status;
    std::optional<CClientServices> m_services;  // made once the prompter and the timers are known
    CPageTabCtrl m_tabs;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CClientPages> m_pages;
    CTabControlWidget* m_tabWidget = nullptr;  // owned by the main window
    COrderFormWidget* m_orderForm = nullptr;   // owned by the main window
    std::unique_ptr<CMainWindow> m_window;
    std::optional<CListExport> m_listExport;
    CLayoutSettings m_layout;  // as read at the start; the trader's changes are added at the end
    CLoginDialogWidget* m_loginDialog = nullptr;  // while Start runs the dialog
    std::unique_ptr<CTerminationSignals> m_signals;
};

// The settings file in the current directory.
std::string LoginSettingsPath();

}  // namespace kvt
