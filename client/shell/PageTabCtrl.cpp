// CPageTabCtrl: tab order, the shown page, and the refresh that a mouse selection posts.
#include "client/shell/PageTabCtrl.h"

namespace kvt {

int CPageTabCtrl::AddPage(CMessageTarget* page, std::string title) {
    if (page == nullptr || PageCount() >= kMaxPages) return 0;
    m_refs[m_pages.size()].Set(page);
    m_pages.push_back({page, std::move(title)});
    if (m_observer) m_observer->TabsChanged();
    MakeCurrent(0);
    return 1;
}

CMessageTarget* CPageTabCtrl::CurrentPage() const { return m_pages.empty() ? nullptr : Page(m_current); }

int CPageTabCtrl::IndexOf(const CMessageTarget* page) const {
    for (int i = 0; i < PageCount(); ++i) {
        if (Page(i) == page) return i;
    }
    return -1;
}

int CPageTabCtrl::SelectPage(int index) {
    if (index < 0 || index >= PageCount()) return -1;
    const int previous = m_current;
    if (index != m_current) MakeCurrent(index);
    if (m_observer) m_observer->FocusTabs();
    return previous;
}

void CPageTabCtrl::OnTabPressed(int index) {
    if (index < 0 || index >= PageCount()) return;
    if (index != m_current) {
        MakeCurrent(index);
        PostRefresh(index);
    }
    SelectPage(index);
}

void CPageTabCtrl::OnArrowKey(int step) { SelectPage(m_current + step); }

void CPageTabCtrl::OnEnterKey() {
    if (m_observer) m_observer->FocusCurrentPage();
}

void CPageTabCtrl::RefreshCurrentPage() {
    if (!m_pages.empty()) PostRefresh(m_current);
}

void CPageTabCtrl::OnMessage(unsigned message, WParam wParam, LParam lParam) {
    if (message != WM_SELECT_PAGE) return;
    const int index = IndexOf(MessageParameter<WM_SELECT_PAGE>(wParam, lParam));
    if (index >= 0 && index != m_current) SelectPage(index);
}

void CPageTabCtrl::MakeCurrent(int index) {
    m_current = index;
    if (m_observer) m_observer->CurrentChanged(index);
}

void CPageTabCtrl::PostRefresh(int index) {
    m_bridge.Post(m_refs[static_cast<std::size_t>(index)], WM_PAGE_REFRESH, 0, 0);
}

}  // namespace kvt
