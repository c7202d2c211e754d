// CPageTabCtrl: the logic of the tab control of the lower pane. It holds up to 32 pages in tab
// order with their titles and knows which one is shown. A mouse click on another tab shows that
// page and posts WM_PAGE_REFRESH to it (clicking is what loads a page on demand); the arrow keys
// move to the neighbouring page without a refresh; WM_SELECT_PAGE (wParam: a page) brings a page
// to the front. The widget draws the tabs and shows the current page; it hears of every change
// through CTabObserver.
//
// Thread contract: user interface thread only.
// Ownership: the pages belong to their owner (CClientPages) and must outlive the control; the
// control owns the window references through which it posts to them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "client/shell/MessageBridge.h"

namespace kvt {

class CTabObserver {
public:
    virtual ~CTabObserver() = default;
    virtual void TabsChanged() = 0;
    // The shown page changed to index.
    virtual void CurrentChanged(int index) = 0;
    // Enter on the tab row: the keyboard focus goes to the shown page.
    virtual void FocusCurrentPage() = 0;
    // A page was selected: the keyboard focus goes to the tab row.
    virtual void FocusTabs() = 0;
};

class CPageTabCtrl : public CMessageTarget {
public:
    static constexpr int kMaxPages = 32;

    explicit CPageTabCtrl(CMessageBridge& bridge) : m_bridge(bridge) {}

    // Appends a page with its tab title (UTF-8): 1, or 0 when 32 pages exist or page is null.
    // Page 0 is shown afterwards.
    int AddPage(CMessageTarget* page, std::string title);
    // Shows the page at index and gives the focus to the tab row: the index that was current
    // before, or -1 for an index outside the pages.
    int SelectPage(int index);
    // A mouse press that leaves the tab at index selected.
    void OnTabPressed(int index);
    // Left (-1) and Right (+1) arrow keys; nothing happens at either end.
    void OnArrowKey(int step);
    void OnEnterKey();
    // The main frame's 刷新: WM_PAGE_REFRESH to the shown page.
    void RefreshCurrentPage();

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    int CurrentIndex() const { return m_current; }
    CMessageTarget* CurrentPage() const;
    CMessageTarget* Page(int index) const { return m_pages[static_cast<std::size_t>(index)].target; }
    const std::string& Title(int index) const { return m_pages[static_cast<std::size_t>(index)].title; }
    int IndexOf(const CMessageTarget* page) const;

    void SetObserver(CTabObserver* observer) { m_observer = observer; }

    // WM_SELECT_PAGE.
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override;

private:
    struct CPage {
        CMessageTarget* target;
        std::string title;
    };

    void MakeCurrent(int index);
    void PostRefresh(int index);

    CMessageBridge& m_bridge;
    std::vector<CPage> m_pages;
    // The references through which messages are posted to the pages; they never move.
    std::array<CWindowRef, kMaxPages> m_refs;
    int m_current = 0;
    CTabObserver* m_observer = nullptr;
};

}  // namespace kvt
