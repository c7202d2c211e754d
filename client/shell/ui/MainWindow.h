// CMainWindow: the main window. The button strip at the top (the latest response text, 批量模式
// hidden, 刷新, 密码修改, 简化模式, and "作者" in its context menu), the order view over the tab
// view in a vertical splitter, and a status bar of two panes: response texts, and the clock. What
// happens is CMainFrame's to decide; the window shows it and forwards the buttons and the close.
//
// Thread contract: user interface thread only.
#pragma once

#include <QMainWindow>

#include "client/shell/ClientServices.h"
#include "client/shell/MainFrame.h"

class QLabel;
class QPushButton;
class QSplitter;

namespace kvt {

class CMainWindow : public QMainWindow, private CMainFrameView {
public:
    // orderView and tabView become the splitter's rows.
    CMainWindow(CMainFrame& frame, const CClientServices& services, QWidget* orderView, QWidget* tabView);
    ~CMainWindow() override;

    // Sizes the window for the screen and records the two modes' heights.
    void LayOut();
    // The order form's height above the splitter, as the trader left it or as kept from a run.
    int FormHeight() const;
    void SetFormHeight(int height);

    QLabel& ResponseText() const { return *m_responseText; }
    QLabel& StatusPane() const { return *m_statusPane; }
    QLabel& ClockPane() const { return *m_clockPane; }
    QPushButton& BatchButton() const { return *m_batch; }
    QPushButton& RefreshButton() const { return *m_refresh; }
    QPushButton& PasswordButton() const { return *m_password; }
    QPushButton& ModeButton() const { return *m_mode; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* MakeButtonStrip();
    void ShowAbout();
    void ChangePassword();

    void ShowResponseText(const std::string& utf8) override;
    void ShowClock(const std::string& utf8) override;
    void SetWindowHeight(int height) override;
    void SetModeCaption(std::string_view utf8) override;
    void SetBatchCaption(std::string_view utf8) override;
    void PostClose() override;

    CMainFrame& m_frame;
    CClientServices m_services;
    QWidget* m_orderView;
    QSplitter* m_splitter = nullptr;
    QLabel* m_responseText = nullptr;
    QLabel* m_statusPane = nullptr;
    QLabel* m_clockPane = nullptr;
    QPushButton* m_batch = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_password = nullptr;
    QPushButton* m_mode = nullptr;
};

}  // namespace kvt
