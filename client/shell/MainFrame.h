// CMainFrame: the logic of the main window. It shows response texts in the status line (and in
// the button strip's text), tells the user once when the connection is lost and then closes,
// logs out on the first close request and ends the program on the second, keeps the clock of the
// status bar (local time plus the server's offset, every second), switches between the detailed
// and the simplified window (only the height changes) and passes 刷新 on to the shown tab page.
// The window shows what this class decides through CMainFrameView.
//
// Thread contract: user interface thread only.
// Ownership: registers itself as the API's main frame for its lifetime; borrows everything else.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "client/shell/ClientServices.h"
#include "client/shell/MessageTarget.h"
#include "client/shell/Timers.h"
#include "client/shell/TraderEvents.h"

namespace kvt {

class CPageTabCtrl;

class CMainFrameView {
public:
    virtual ~CMainFrameView() = default;
    // Status pane 0 and the button strip's static text.
    virtual void ShowResponseText(const std::string& utf8) = 0;
    // Status pane 1: "星期一\t2026-01-05\t10:30:00" (UTF-8).
    virtual void ShowClock(const std::string& utf8) = 0;
    // Keeps the window's left, top and width.
    virtual void SetWindowHeight(int height) = 0;
    virtual void SetModeCaption(std::string_view utf8) = 0;
    // Button 1021.
    virtual void SetBatchCaption(std::string_view utf8) = 0;
    // Queues a close request, handled after the current message like the user's own.
    virtual void PostClose() = 0;
};

class CMainFrame : public CMessageTarget, public CTraderEvents {
public:
    using NowFunction = std::function<std::time_t()>;

    CMainFrame(const CClientServices& services, CPageTabCtrl& tabs, NowFunction now = [] { return std::time(nullptr); });
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    void SetView(CMainFrameView* view) { m_view = view; }

    // The window's height when its client area was built, and the order form's height: the
    // simplified window is the form plus 75 pixels high.
    void SetModeHeights(int detailedHeight, int formHeight);
    // Button 1019.
    void OnToggleMode();
    bool IsSimplified() const { return m_simplified; }
    // Button 1020.
    void OnRefresh();
    // Button 1021 toggles the order entry page's batch mode; the toggle returns the new caption.
    void SetBatchToggle(std::function<std::string()> toggle) { m_batchToggle = std::move(toggle); }
    void OnToggleBatch();
    // True when the window is to close now; false when a logout was sent instead and the window
    // stays open.
    bool OnCloseRequest();
    bool IsClosing() const { return m_closing; }
    // The program was asked to end (SIGTERM and the like): as a close request, then the window
    // closes without waiting for a second one.
    void OnTerminationRequest();

    // Starts the clock: now, and then every second.
    void StartClock();
    // "%A\t%Y-%m-%d\t%H:%M:%S" of now plus the server offset; "" when it cannot be formed.
    std::string ClockText() const;

    // WM_STATUS_TEXT, posted by the status line.
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override;
    // Tells the user once that the connection is lost, and closes.
    void onChannelLost(const TTRspMsg& reason) override;
    // The answer to a password change, in the status line.
    void onRecvRspTraderPasswordUpdate(const TReqTraderPasswordUpdate* update, const TTRspMsg& rsp) override;

private:
    void Tick();

    CClientApi& m_api;
    CExchangeRequests& m_requests;
    CStatusLine& m_status;
    CPrompter& m_prompter;
    CTimers& m_timers;
    CPageTabCtrl& m_tabs;
    NowFunction m_now;
    CMainFrameView* m_view = nullptr;
    std::function<std::string()> m_batchToggle;
    CTimers::TimerId m_clock = 0;
    int m_detailedHeight = 0;
    int m_simplifiedHeight = 0;
    bool m_simplified = false;
    bool m_closing = false;
};

}  // namespace kvt
