// CMessageTarget: what a window is to the rest of the client, a receiver of (message, wParam,
// lParam). CWindowRef: a place where a window registers itself, read when a message is delivered.
//
// Thread contract: a target's OnMessage runs on the user interface thread only. A CWindowRef is
// set and cleared on the user interface thread (by the window itself, at creation and destruction)
// and may be read from any thread; reading it tells whether the window is registered right now.
// Ownership: a CWindowRef does not own its window; a window clears its reference before it goes.
#pragma once

#include <atomic>

#include "client/shell/WindowMessages.h"

namespace kvt {

class CMessageTarget {
public:
    virtual ~CMessageTarget() = default;
    // A window that is sent no message of interest (a tab page that has nothing to refresh) keeps
    // the default, which does nothing.
    virtual void OnMessage(unsigned message, WParam wParam, LParam lParam) { (void)message, (void)wParam, (void)lParam; }
};

class CWindowRef {
public:
    CWindowRef() = default;
    CWindowRef(const CWindowRef&) = delete;
    CWindowRef& operator=(const CWindowRef&) = delete;

    // Registers a window, or clears the reference with null.
    void Set(CMessageTarget* window) { m_window.store(window, std::memory_order_release); }
    CMessageTarget* Get() const { return m_window.load(std::memory_order_acquire); }
    bool IsSet() const { return Get() != nullptr; }

private:
    std::atomic<CMessageTarget*> m_window{nullptr};
};

}  // namespace kvt
