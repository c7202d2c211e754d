// CMainFrame: status texts, the lost connection, close and logout, the clock and the two modes.
#include "client/shell/MainFrame.h"

#include <chrono>

#include "client/shell/ClientApi.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/PageTabCtrl.h"
#include "client/shell/Prompter.h"
#include "client/shell/StatusLine.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

constexpr int kSimplifiedExtraHeight = 75;
constexpr auto kClockPeriod = std::chrono::milliseconds(1000);
constexpr auto kWaitAfterLogout = std::chrono::milliseconds(100);

// The window is Chinese whatever the process locale, so the weekday is not left to strftime's %A.
constexpr const char* kWeekdays[7] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};

}  // namespace

CMainFrame::CMainFrame(const CClientServices& services, CPageTabCtrl& tabs, NowFunction now)
    : m_api(services.api), m_requests(services.requests), m_status(services.status), m_prompter(services.prompter),
      m_timers(services.timers), m_tabs(tabs), m_now(std::move(now)) {
    m_api.Windows().Register(EShellWindow::MainFrame, this, this);
}

CMainFrame::~CMainFrame() {
    m_timers.Cancel(m_clock);
    m_api.Windows().Register(EShellWindow::MainFrame, nullptr);
}

void CMainFrame::SetModeHeights(int detailedHeight, int formHeight) {
    m_detailedHeight = detailedHeight;
    m_simplifiedHeight = formHeight + kSimplifiedExtraHeight;
}

void CMainFrame::OnToggleMode() {
    m_simplified = !m_simplified;
    if (m_view == nullptr) return;
    m_view->SetWindowHeight(m_simplified ? m_simplifiedHeight : m_detailedHeight);
    m_view->SetModeCaption(m_simplified ? "详细模式" : "简化模式");
}

void CMainFrame::OnRefresh() { m_tabs.RefreshCurrentPage(); }

void CMainFrame::OnToggleBatch() {
    if (!m_batchToggle) return;
    const std::string caption = m_batchToggle();
    if (m_view) m_view->SetBatchCaption(caption);
}

bool CMainFrame::OnCloseRequest() {
    if (m_closing) return true;
    TReqTraderLogout logout{};
    const TTrader& trader = m_api.LoginState().Trader();
    quorex::SetText(logout.traderID, quorex::FieldText(trader.traderID));
    quorex::SetText(logout.memberID, quorex::FieldText(trader.memberID));
    // A logout that cannot be sent is not reported: the next close request ends the program.
    m_requests.ReqTraderLogout(logout);
    m_timers.Pause(kWaitAfterLogout);
    m_closing = true;
    return false;
}

void CMainFrame::OnTerminationRequest() {
    if (!m_closing) OnCloseRequest();
    if (m_view) m_view->PostClose();
}

void CMainFrame::StartClock() {
    m_timers.Cancel(m_clock);
    Tick();
}

void CMainFrame::Tick() {
    if (m_view) m_view->ShowClock(ClockText());
    m_clock = m_timers.After(kClockPeriod, [this] { Tick(); });
}

std::string CMainFrame::ClockText() const {
    const std::time_t shown = m_now() + m_api.LoginState().ServerTimeOffset();
    std::tm local{};
    if (localtime_r(&shown, &local) == nullptr) return std::string();
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "\t%Y-%m-%d\t%H:%M:%S", &local);
    return kWeekdays[local.tm_wday % 7] + std::string(text, length);
}

void CMainFrame::OnMessage(unsigned message, WParam wParam, LParam lParam) {
    if (message != WM_STATUS_TEXT) return;
    const TTRspMsg* rsp = MessageParameter<WM_STATUS_TEXT>(wParam, lParam);
    if (m_view && rsp != nullptr) m_view->ShowResponseText(quorex::TextOf(rsp->RspMsg));
    m_status.Shown(rsp);
}

void CMainFrame::onChannelLost(const TTRspMsg& reason) {
    if (!m_closing) {
        m_closing = true;
        m_prompter.Inform("通讯中断，请重新登陆!", quorex::TextOf(reason.RspMsg));
    }
    if (m_view) m_view->PostClose();
}

void CMainFrame::onRecvRspTraderPasswordUpdate(const TReqTraderPasswordUpdate*, const TTRspMsg& rsp) {
    if (m_view) m_view->ShowResponseText(quorex::TextOf(rsp.RspMsg));
}

}  // namespace kvt
