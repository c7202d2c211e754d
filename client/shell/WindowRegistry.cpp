// CWindowRegistry: the routing table checked and laid out by event, the windows' slots.
#include "client/shell/WindowRegistry.h"

#include "client/shell/ClientErrors.h"

namespace kvt {

CWindowRegistry::CWindowRegistry(std::span<const CEventRoute> routes) {
    for (std::size_t e = 0; e < m_routes.size(); ++e) m_routes[e] = CEventRoute{static_cast<ETraderEvent>(e), {}, 0};
    for (const CEventRoute& route : routes) {
        CEventRoute& slot = m_routes[static_cast<std::size_t>(route.event)];
        if (slot.count != 0 || route.count > CEventRoute::kMaxWindows) {
            throw CDesignError(kRoutingTableInvalid, kModuleClientApi, __LINE__);
        }
        for (const TWindowId window : route.Windows()) {
            if (window >= kMaxWindows) throw CDesignError(kRoutingTableInvalid, kModuleClientApi, __LINE__);
        }
        slot = route;
    }
}

void CWindowRegistry::Register(TWindowId id, CTraderEvents* events, CMessageTarget* messages) {
    if (id >= kMaxWindows) throw CDesignError(kRoutingTableInvalid, kModuleClientApi, __LINE__);
    m_events[id].store(events, std::memory_order_release);
    m_messages[id].Set(messages);
}

}  // namespace kvt
