// CWindowRegistry: where the client's windows register, each under a small number, as receivers of
// the exchange's events (CTraderEvents) and of posted window messages (CMessageTarget), and the
// routing table of the events: for each event, the windows that hear it, in the order they are
// served. The shell's own windows have fixed numbers (EShellWindow); the pages' numbers follow
// them, and the pages' layer, which knows the pages, gives the routing table (pages/EventRoutes).
//
// Thread contract: registration on the user interface thread; the registered windows are read
// from any thread (the bridge reads them when a delivery runs, so a window that has gone
// receives nothing). Ownership: the registry does not own the windows; a window unregisters
// before it goes.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "client/shell/MessageTarget.h"
#include "client/shell/TraderEvents.h"

namespace kvt {

using TWindowId = std::uint8_t;

enum class EShellWindow : TWindowId { MainFrame, LoginDialog, PasswordDialog, TabControl, kCount };
inline constexpr TWindowId IdOf(EShellWindow window) { return static_cast<TWindowId>(window); }
// The first number the pages' windows may take.
inline constexpr TWindowId kFirstPageWindow = static_cast<TWindowId>(EShellWindow::kCount);

// One line of the routing table: an event and the windows that hear it, in order.
struct CEventRoute {
    static constexpr std::size_t kMaxWindows = 4;
    ETraderEvent event;
    std::array<TWindowId, kMaxWindows> windows;
    std::size_t count;

    std::span<const TWindowId> Windows() const { return {windows.data(), count}; }
};

template <class... Window>
constexpr CEventRoute Route(ETraderEvent event, Window... windows) {
    static_assert(sizeof...(Window) >= 1 && sizeof...(Window) <= CEventRoute::kMaxWindows);
    return CEventRoute{event, {static_cast<TWindowId>(windows)...}, sizeof...(Window)};
}

class CWindowRegistry {
public:
    static constexpr std::size_t kMaxWindows = 32;

    // At most one line per event. CDesignError for an event named twice or a window number of
    // kMaxWindows or more.
    explicit CWindowRegistry(std::span<const CEventRoute> routes);
    CWindowRegistry(const CWindowRegistry&) = delete;
    CWindowRegistry& operator=(const CWindowRegistry&) = delete;

    // Registers a window (either part may be null), or clears its number with two nulls.
    void Register(TWindowId id, CTraderEvents* events, CMessageTarget* messages = nullptr);
    void Register(EShellWindow window, CTraderEvents* events, CMessageTarget* messages = nullptr) {
        Register(IdOf(window), events, messages);
    }

    CTraderEvents* Events(TWindowId id) const { return m_events[id].load(std::memory_order_acquire); }
    // The reference messages are posted through.
    const CWindowRef& Window(TWindowId id) const { return m_messages[id]; }
    const CWindowRef& Window(EShellWindow window) const { return m_messages[IdOf(window)]; }
    bool IsRegistered(TWindowId id) const { return Events(id) != nullptr || Window(id).IsSet(); }

    // The windows that hear the event, in order; empty for an event nobody hears.
    std::span<const TWindowId> Receivers(ETraderEvent event) const {
        return m_routes[static_cast<std::size_t>(event)].Windows();
    }

private:
    std::array<CEventRoute, kTraderEventCount> m_routes{};
    std::array<std::atomic<CTraderEvents*>, kMaxWindows> m_events{};
    std::array<CWindowRef, kMaxWindows> m_messages;
};

}  // namespace kvt
