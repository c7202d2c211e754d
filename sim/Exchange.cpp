// The exchange's front: the dispatch table from request type to handler, and the checks every
// request passes before its handler runs (and, for a request that changes the day, its journal
// entry is written).
#include "sim/Exchange.h"
#include "public/PackageTypes.h"

#include <ctime>
#include <type_traits>

namespace quorex::sim {
namespace {

constexpr std::uint32_t kTraderLoginTid = tid::ReqTraderLogin;
constexpr std::uint32_t kUserLoginTid = tid::ReqUserLogin;

// The class a handler belongs to.
template <class>
struct PartOfHandler;
template <class Part>
struct PartOfHandler<void (Part::*)(SessionId, CExchangeSession&, const CXTPPackage&)> {
    using Type = Part;
};

}  // namespace

void CLocalTimeOfDay::Format(char (&text)[9]) const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
}

template <class Part>
Part& CExchange::PartOf() {
    if constexpr (std::is_same_v<Part, CExchangeLogins>) return m_logins;
    if constexpr (std::is_same_v<Part, CExchangeOrders>) return m_orders;
    if constexpr (std::is_same_v<Part, CExchangeQueries>) return m_queries;
    if constexpr (std::is_same_v<Part, CExchangeMonitor>) return m_monitor;
}

template <auto Method>
void CExchange::Dispatch(CExchange& exchange, SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    using Part = typename PartOfHandler<decltype(Method)>::Type;
    (exchange.PartOf<Part>().*Method)(id, session, request);
}

const CExchange::CRoute CExchange::kRoutes[] = {
    {tid::ReqTraderLogout, Role::kTrader, false, &Dispatch<&CExchangeLogins::TraderLogout>},
    {tid::ReqYqOrder, Role::kTrader, true, &Dispatch<&CExchangeOrders::PlaceOrder>},
    {tid::ReqYqOrderCancel, Role::kTrader, true, &Dispatch<&CExchangeOrders::CancelOrder>},
    {tid::ReqTraderPasswordUpdate, Role::kTrader, true, &Dispatch<&CExchangeLogins::TraderPassword>},
    {tid::RspStandardDataSendOver, Role::kNone, false, &Dispatch<&CExchangeLogins::IgnoreRequest>},
    {tid::ReqQryMemberCapital, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryCapital>},
    {tid::ReqQryElctIndenture, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryIndentures>},
    {tid::ReqQryYqInstElctIndent, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryInstrumentIndentures>},
    {tid::ReqQryYqOrder, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryOrders>},
    {tid::ReqQryYqMatch, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryMatches>},
    {tid::ReqQryYqQuotation, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryQuotations>},
    {tid::ReqQryYqLastQuotation, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryLastQuotations>},
    {tid::ReqQryYqMemberPosi, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryMemberPositions>},
    {tid::ReqQryYqClientPosi, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryClientPositions>},
    {tid::ReqQryTradeBulletinBoard, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryBulletins>},
    {tid::ReqUserLogout, Role::kMonitor, false, &Dispatch<&CExchangeLogins::UserLogout>},
    {tid::ReqUserPasswordUpdate, Role::kMonitor, true, &Dispatch<&CExchangeLogins::UserPassword>},
    {tid::ReqExchangeStateUpdate, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::ChangeExchangeState>},
    {tid::ReqMarketStateUpdate, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::ChangeMarketState>},
    {tid::ReqYqInstStateUpdate, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::ChangeInstrumentState>},
    {tid::ReqQryExchangeState, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::QueryExchangeState>},
    {tid::ReqQryMarketState, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::QueryMarketState>},
    {tid::ReqQryYqInstState, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::QueryInstrumentState>},
    {tid::ReqQryTrader, Role::kMonitor, false, &Dispatch<&CExchangeQueries::QueryTraders>},
    {tid::ReqTradeBulletinBoard, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::PublishBulletin>},
    {tid::ReqForceTraderLogout, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::ForceTraderLogout>},
    {tid::ReqForceYqOrderCancel, Role::kMonitor, true, &Dispatch<&CExchangeOrders::ForceCancelOrder>},
    {tid::ReqOrderForceCancel, Role::kMonitor, true, &Dispatch<&CExchangeOrders::ForceCancelByFilter>},
    {tid::ReqQryYqOrder4M, Role::kMonitor, false, &Dispatch<&CExchangeQueries::QueryOrders4M>},
    {tid::ReqQryYqMatch4M, Role::kMonitor, false, &Dispatch<&CExchangeQueries::QueryMatches4M>},
};

CExchange::CExchange(CTradingDay day, CExchangeOutput& output, const CTimeOfDay& clock, const std::filesystem::path& dataDir)
    : m_clock(clock), m_heldOutput(output, m_heldWrites), m_state(std::move(day)), m_replies(m_heldOutput),
      m_logins(m_state, m_replies), m_orders(m_state, m_replies), m_queries(m_state, m_replies),
      m_monitor(m_state, m_replies, m_logins) {
    if (!dataDir.empty()) KeepDayIn(dataDir);
}

// What the last pass held still goes to the files; nobody is answered any more.
CExchange::~CExchange() { m_heldWrites.Write(); }

const CExchange::CRoute* CExchange::FindRoute(std::uint32_t tid) {
    for (const CRoute& route : kRoutes) {
        if (route.tid == tid) return &route;
    }
    return nullptr;
}

void CExchange::Handle(SessionId id, const CXTPPackage& request) {
    m_clock.Format(m_state.now);
    CExchangeSession& session = m_logins.SessionOf(id);
    const std::uint32_t tid = request.m_XTPHeader.Tid;
    if (tid == kTraderLoginTid) return m_logins.TraderLogin(id, session, request);
    if (tid == kUserLoginTid) return m_logins.UserLogin(id, session, request);
    const CRoute* route = FindRoute(tid);
    if (route == nullptr) return RefuseUnsupported(id, request, session.role == Role::kNone ? Rsp::kNotLoggedIn : Rsp::kNotSupported);
    if (session.role == Role::kNone) return RefuseUnsupported(id, request, Rsp::kNotLoggedIn);
    if (route->role != Role::kNone && route->role != session.role) return RefuseUnsupported(id, request, Rsp::kNotPermitted);
    if (route->changesDay && m_journal != nullptr) m_journal->Append(session.role, session.user, m_state.now, request);
    route->handler(*this, id, session, request);
}

void CExchange::EndPass() {
    m_heldWrites.Write();
    m_heldOutput.Release();
}

long long CExchange::LastLocalOrderNo(std::string_view traderID) const {
    const int trader = m_state.FindTrader(traderID);
    return trader < 0 ? 0 : m_state.traders[trader].lastLocalOrderNo;
}

void CExchange::RefuseUnsupported(SessionId id, const CXTPPackage& request, Rsp result) {
    // Only requests are answered, and only where the protocol has an answer with a response field.
    const std::uint32_t tid = request.m_XTPHeader.Tid;
    if ((tid & 0xF) != 1) return;
    const CPackageDefinition* answer = FindPackageDefinition(tid + 1);
    if (answer == nullptr) return;
    const auto fields = answer->Fields();
    if (std::none_of(fields.begin(), fields.end(), [](const CFieldDescriptor* field) { return field == &RecordTraits<TTRspMsg>::kDescriptor; })) {
        return;
    }
    m_replies.Answer<TTRspMsg>(id, request, nullptr, result);
}

}  // namespace quorex::sim
