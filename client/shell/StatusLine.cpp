// CStatusLine: posted status texts with copies that live until they have been shown.
#include "client/shell/StatusLine.h"

#include <cstring>

#include "client/shell/WindowMessages.h"
#include "quorex/Text.h"

namespace kvt {

void CStatusLine::Show(std::string_view utf8, WParam sender) {
    TTRspMsg copy{};
    // Cut between characters by the one rule the library's records follow.
    quorex::SetText(copy.RspMsg, quorex::Utf8ToGbk(utf8));
    PostCopy(copy, sender);
}

void CStatusLine::Forward(const TTRspMsg& rsp, WParam sender) {
    TTRspMsg copy{};
    std::memcpy(&copy, &rsp, sizeof copy);
    copy.RspMsg[sizeof copy.RspMsg - 1] = '\0';
    PostCopy(copy, sender);
}

void CStatusLine::PostCopy(const TTRspMsg& copy, WParam sender) {
    m_pending.push_back(copy);
    if (!m_bridge.Post(m_mainFrame, WM_STATUS_TEXT, sender, MessageLParam<WM_STATUS_TEXT>(&m_pending.back()))) m_pending.pop_back();
}

void CStatusLine::Shown(const TTRspMsg* rsp) {
    // Posts arrive in order: copies queued before this one were dropped undelivered (no main frame
    // registered at the time) and go with it.
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        if (&m_pending[i] != rsp) continue;
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return;
    }
}

}  // namespace kvt
