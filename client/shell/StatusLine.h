// CStatusLine: hands texts to the main frame's status line as posted WM_STATUS_TEXT messages
// (wParam: the sender's message number, 0 for a plain text; lParam: a TTRspMsg whose RspMsg is
// the text). Each text is copied into a TTRspMsg that the status line keeps until the main frame
// has shown it, so the sender's buffers (a record borrowed from the library, a local text) may go
// at once.
//
// Thread contract: user interface thread only. Ownership: owns the pending copies.
#pragma once

#include <deque>
#include <string_view>

#include "client/shell/MessageBridge.h"
#include "quorex/Records.h"

namespace kvt {

class CStatusLine {
public:
    CStatusLine(CMessageBridge& bridge, const CWindowRef& mainFrame) : m_bridge(bridge), m_mainFrame(mainFrame) {}

    // A UTF-8 text, converted to GBK and cut to the 59 bytes of RspMsg at a character boundary.
    void Show(std::string_view utf8, WParam sender = 0);
    // The response text of a record.
    void Forward(const TTRspMsg& rsp, WParam sender);
    // Called by the main frame once it has shown a text: frees the copy if it is one of ours.
    void Shown(const TTRspMsg* rsp);

    std::size_t PendingCount() const { return m_pending.size(); }

private:
    void PostCopy(const TTRspMsg& copy, WParam sender);

    CMessageBridge& m_bridge;
    const CWindowRef& m_mainFrame;
    // In the order posted, which is the order of delivery.
    std::deque<TTRspMsg> m_pending;
};

}  // namespace kvt
