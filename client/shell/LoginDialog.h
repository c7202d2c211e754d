// CLoginDialog: the logic of the login dialog. It fills the form from "kvtsys.data" (and starts
// the auto-login two seconds after opening when both flags are set), checks the form, registers
// the chosen server and sends the login with the password's MD5 digest, shows how far the login
// has come, writes the settings file after a successful login, and when the initial download has
// ended asks for the quotations and the capital and ends the dialog with OK. While the download
// runs it shows how many records have arrived. A refused login, a login whose files the library
// could not use and a connection lost before the download ended each leave a text that says what
// to do, and the 登陆 button enabled.
//
// Thread contract: user interface thread only.
// Ownership: registers itself as the API's login dialog from Init to its destruction.
#pragma once

#include <cstdint>
#include <string>

#include "client/shell/ServerList.h"
#include "client/shell/Timers.h"
#include "client/shell/TraderEvents.h"
#include "quorex/Records.h"

namespace kvt {

class CClientApi;
class CExchangeRequests;

// The dialog's input as the edits and boxes hold it (texts in UTF-8).
struct CLoginForm {
    std::string traderCode;
    std::string password;
    int serverIndex = 0;  // -1: none selected
    bool rememberPassword = false;
    bool autoLogin = false;
};

enum class ELoginControl { TraderCode, Password };

class CLoginDialogView {
public:
    virtual ~CLoginDialogView() = default;
    virtual CLoginForm Form() const = 0;
    virtual void SetForm(const CLoginForm& form) = 0;
    // The static text across the bottom.
    virtual void SetStatus(const std::string& utf8) = 0;
    virtual void SetLoginEnabled(bool enabled) = 0;
    virtual bool IsFocusOnLogin() const = 0;
    virtual void FocusNextControl() = 0;
    virtual void Focus(ELoginControl control) = 0;
    // Records received since the password was accepted; shown beside the status text.
    virtual void ShowDownloadProgress(std::uint64_t records) = 0;
    // Ends the dialog with OK.
    virtual void Accept() = 0;
};

class CLoginDialog : public CTraderEvents {
public:
    // settingsPath: the settings file, in the program's working directory.
    CLoginDialog(CClientApi& api, CExchangeRequests& requests, CTimers& timers, const CServerList& servers,
                 std::string settingsPath);
    ~CLoginDialog() override;
    CLoginDialog(const CLoginDialog&) = delete;
    CLoginDialog& operator=(const CLoginDialog&) = delete;

    // When the dialog is shown: registration and the settings file.
    void Init(CLoginDialogView& view);
    // Button 登陆 or the Enter key.
    void OnOk();
    void OnAutoLoginClicked();

    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg& rsp) override;
    // The end of the initial download: the quotation and capital queries, and OK.
    void onRecvReqSendOver() override;
    // The library ended the session while the dialog waited (the exchange closed the connection,
    // sent nothing for too long, or a file of the user's failed): the trader may log in again.
    void onChannelLost(const TTRspMsg& reason) override;

private:
    void LogIn();
    void WriteSettings();
    void PollProgress();

    CClientApi& m_api;
    CExchangeRequests& m_requests;
    CTimers& m_timers;
    const CServerList& m_servers;
    std::string m_settingsPath;
    CLoginDialogView* m_view = nullptr;
    CTimers::TimerId m_autoLogin = 0;
    CTimers::TimerId m_progress = 0;
    std::uint64_t m_recordsAtLogin = 0;
};

}  // namespace kvt
