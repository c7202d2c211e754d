// The routing table of the exchange's events. Where a line names several windows they are served
// one after the other in this order, each to completion. Every other event is heard by nobody.
#include "client/pages/PageWindows.h"

namespace kvt {
namespace {

using E = ETraderEvent;
using enum EShellWindow;
using enum EPageWindow;

constexpr CEventRoute kRoutes[] = {
    Route(E::onRecvReqSendOver, QuotationPage, LoginDialog, OrderEntryPage, PreOrderPage),
    Route(E::onRecvRspTraderLogin, LoginDialog),
    Route(E::ChannelLostAtLogin, LoginDialog),
    Route(E::onChannelLost, PreOrderPage, MainFrame),
    Route(E::onRecvRspYqOrder, OrderEntryPage, PreOrderPage),
    Route(E::onRecvRtnYqOrder, OrderListPage, OrderEntryPage, PreOrderPage),
    Route(E::onRecvRtnYqOrderCancel, OrderListPage, OrderEntryPage, PreOrderPage),
    Route(E::onRecvRtnForceYqOrder, OrderListPage),
    Route(E::onRecvRspYqOrderCancel, OrderListPage),
    Route(E::onRecvRtnYqMatch, MatchPage),
    Route(E::onRecvYqQuotation, QuotationPage, OrderEntryPage),
    Route(E::onRecvRspQryYqQuotation, QuotationPage),
    Route(E::onRecvYqCloseQuotation, QuotationPage),
    Route(E::onRecvYuanQiInstInfo, OrderEntryPage),
    Route(E::onRecvRspQryMemberCapital, CapitalPage, OrderEntryPage),
    Route(E::onRecvRspQryYqClientPosi, PositionPage),
    Route(E::onRecvRspQryYqMemberPosi, OrderEntryPage, PositionPage),
    Route(E::onRecvRspQryElctIndenture, ElctIndenturePage),
    Route(E::onRecvRspQryYqInstElctIndent, IndentureSelectPage),
    Route(E::onRecvRspTraderPasswordUpdate, PasswordDialog, MainFrame),
};

}  // namespace

std::span<const CEventRoute> EventRoutes() { return kRoutes; }

}  // namespace kvt
