// Windows without widgets for CClientApi tests: each writes into a shared journal which window got
// which message with which parameters, in delivery order.
#pragma once

#include <string>
#include <vector>

#include "client/shell/ClientApi.h"
#include "client/shell/MessageBridge.h"

namespace kvt::test {

struct Delivery {
    EWindow window;
    unsigned message;
    WParam wParam;
    LParam lParam;
    bool operator==(const Delivery&) const = default;
};

class JournalWindow : public CMessageTarget {
public:
    JournalWindow(EWindow window, std::vector<Delivery>& journal) : m_window(window), m_journal(journal) {}
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override {
        m_journal.push_back({m_window, message, wParam, lParam});
        if (onMessage) onMessage(message, wParam, lParam);
    }
    std::function<void(unsigned, WParam, LParam)> onMessage;

private:
    EWindow m_window;
    std::vector<Delivery>& m_journal;
};

// The test's own thread plays the user interface thread, so every send is a direct call.
class NoWakeup : public CBridgeWakeup {
public:
    void Wake() override {}
};

}  // namespace kvt::test
