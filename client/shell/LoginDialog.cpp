// CLoginDialog: settings, checks, the login request and the end of the initial download.
#include "client/shell/LoginDialog.h"

#include <chrono>
#include <cstring>

#include "client/shell/ClientApi.h"
#include "client/shell/CapitalQuery.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/LoginFailureTexts.h"
#include "client/shell/LoginRequest.h"
#include "client/shell/LoginSettings.h"
#include "client/shell/ResponseCode.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

constexpr auto kAutoLoginDelay = std::chrono::milliseconds(2000);
constexpr auto kProgressPeriod = std::chrono::milliseconds(200);

}  // namespace

CLoginDialog::CLoginDialog(CClientApi& api, CExchangeRequests& requests, CTimers& timers, const CServerList& servers,
                           std::string settingsPath)
    : m_api(api), m_requests(requests), m_timers(timers), m_servers(servers), m_settingsPath(std::move(settingsPath)) {}

CLoginDialog::~CLoginDialog() {
    m_timers.Cancel(m_autoLogin);
    m_timers.Cancel(m_progress);
    m_api.Windows().Register(EShellWindow::LoginDialog, nullptr);
}

void CLoginDialog::Init(CLoginDialogView& view) {
    m_view = &view;
    m_api.Windows().Register(EShellWindow::LoginDialog, this);
    CLoginForm form;
    CLoginSettings settings;
    if (ReadLoginSettings(m_settingsPath, settings)) {
        form.serverIndex = settings.serverIndex;
        if (settings.rememberPassword) {
            form.traderCode = quorex::GbkToUtf8(settings.traderCode);
            form.password = quorex::GbkToUtf8(settings.password);
            form.rememberPassword = true;
            form.autoLogin = settings.autoLogin;
        }
    }
    m_view->SetForm(form);
    if (form.autoLogin) {
        m_autoLogin = m_timers.After(kAutoLoginDelay, [this] {
            m_autoLogin = 0;
            if (m_view->Form().autoLogin) LogIn();
        });
    }
}

void CLoginDialog::OnAutoLoginClicked() {
    CLoginForm form = m_view->Form();
    if (!form.autoLogin || form.rememberPassword) return;
    form.rememberPassword = true;
    m_view->SetForm(form);
}

void CLoginDialog::OnOk() {
    // Enter walks through the fields; only Enter on the button, or a click on it, logs in.
    if (!m_view->IsFocusOnLogin()) {
        m_view->FocusNextControl();
        return;
    }
    LogIn();
}

void CLoginDialog::LogIn() {
    const CLoginForm form = m_view->Form();
    if (form.traderCode.empty()) {
        m_view->SetStatus("交易员代码不能为空......");
        m_view->Focus(ELoginControl::TraderCode);
        return;
    }
    if (form.password.empty()) {
        m_view->SetStatus("密码不能为空......");
        m_view->Focus(ELoginControl::Password);
        return;
    }
    if (form.serverIndex < 0 || form.serverIndex >= static_cast<int>(m_servers.size())) {
        m_view->SetStatus("请选择服务器......");
        return;
    }
    m_timers.Cancel(m_autoLogin);
    m_autoLogin = 0;
    m_view->SetLoginEnabled(false);
    const CServerAddress& server = m_servers[static_cast<std::size_t>(form.serverIndex)];
    m_requests.UseServer(server.host.c_str(), server.port);
    m_view->SetStatus("正在登陆......");
    const TReqTraderLogin login =
        MakeLoginRequest(quorex::Utf8ToGbk(form.traderCode), quorex::Utf8ToGbk(form.password));
    if (m_requests.ReqTraderLogin(login) < 0) {
        m_view->SetStatus("发送登陆请求失败,请稍候再试......");
        m_view->SetLoginEnabled(true);
        return;
    }
    m_view->SetStatus("成功发送登陆请求,密码验证中......");
}

void CLoginDialog::onRecvRspTraderLogin(const TReqTraderLogin*, const TTRspMsg& rsp) {
    if (!IsSuccess(&rsp)) {
        m_view->SetLoginEnabled(true);
        m_view->SetStatus(LoginFailureText(&rsp, quorex::Utf8ToGbk(m_view->Form().traderCode)));
        return;
    }
    m_view->SetStatus("密码验证通过,正在下载初始化数据,请稍候......");
    WriteSettings();
    m_recordsAtLogin = m_api.DeliveredRecordCount();
    m_view->ShowDownloadProgress(0);
    m_timers.Cancel(m_progress);
    m_progress = m_timers.After(kProgressPeriod, [this] { PollProgress(); });
}

void CLoginDialog::onChannelLost(const TTRspMsg& reason) {
    m_timers.Cancel(m_progress);
    m_progress = 0;
    m_view->SetLoginEnabled(true);
    m_view->SetStatus(ConnectionLostText(&reason));
}

void CLoginDialog::PollProgress() {
    m_view->ShowDownloadProgress(m_api.DeliveredRecordCount() - m_recordsAtLogin);
    m_progress = m_timers.After(kProgressPeriod, [this] { PollProgress(); });
}

void CLoginDialog::WriteSettings() {
    const CLoginForm form = m_view->Form();
    CLoginSettings settings;
    settings.traderCode = quorex::Utf8ToGbk(form.traderCode);
    settings.password = quorex::Utf8ToGbk(form.password);
    settings.serverIndex = form.serverIndex;
    settings.rememberPassword = form.rememberPassword;
    settings.autoLogin = form.autoLogin;
    // A settings file that cannot be written is not reported.
    WriteLoginSettings(m_settingsPath, settings);
}

void CLoginDialog::onRecvReqSendOver() {
    m_timers.Cancel(m_progress);
    m_progress = 0;
    m_view->ShowDownloadProgress(m_api.DeliveredRecordCount() - m_recordsAtLogin);
    m_view->SetStatus("初始化数据下载完成,正在初始化交易界面......");
    const TReqQryQuotation quotations{};
    m_requests.ReqQryYqQuotation(quotations);
    m_requests.ReqQryMemberCapital(OwnCapitalQuery(m_api.LoginState().Trader()));
    m_view->Accept();
}

}  // namespace kvt
