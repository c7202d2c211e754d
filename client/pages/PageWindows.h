// The pages' window numbers, after the shell's own windows (EShellWindow), and the routing table:
// which window hears which exchange event, in the order they are served. The table is data, read by
// CClientApi when it is built and by the tests.
//
// Thread contract: constants and a constant table.
#pragma once

#include <span>

#include "client/shell/WindowRegistry.h"

namespace kvt {

enum class EPageWindow : TWindowId {
    QuotationPage = kFirstPageWindow,
    OrderListPage,
    UnmatchedOrderPage,  // hears no event; the order list page posts its copies to it
    MatchPage,
    PositionPage,
    CapitalPage,
    OrderEntryPage,
    ElctIndenturePage,
    IndentureSelectPage,
    PreOrderPage,
    kEnd
};
inline constexpr TWindowId IdOf(EPageWindow window) { return static_cast<TWindowId>(window); }
static_assert(static_cast<std::size_t>(EPageWindow::kEnd) <= CWindowRegistry::kMaxWindows);

std::span<const CEventRoute> EventRoutes();

}  // namespace kvt
