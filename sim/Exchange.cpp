// The exchange's front: the dispatch table from request type to handler, and the checks every
// request passes before its handler runs (and, for a request that changes the day, its journal
// entry is written).
#include "sim/Exchange.h"

#include <ctime>
#include <type_traits>

namespace quorex::sim {
namespace {

constexpr std::uint32_t kTraderLoginTid = 0x00000011;
constexpr std::uint32_t kUserLoginTid = 0x00000441;

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
    {0x00000021, Role::kTrader, false, &Dispatch<&CExchangeLogins::TraderLogout>},
    {0x000000F1, Role::kTrader, true, &Dispatch<&CExchangeOrders::PlaceOrder>},
    {0x00000101, Role::kTrader, true, &Dispatch<&CExchangeOrders::CancelOrder>},
    {0x00000271, Role::kTrader, true, &Dispatch<&CExchangeLogins::TraderPassword>},
    {0x00000EC2, Role::kNone, false, &Dispatch<&CExchangeLogins::IgnoreRequest>},
    {0x000002E1, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryCapital>},
    {0x000002F1, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryIndentures>},
    {0x00000B41, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryInstrumentIndentures>},
    {0x00000301, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryOrders>},
    {0x00000351, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryMatches>},
    {0x00000381, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryQuotations>},
    {0x00000391, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryLastQuotations>},
    {0x000003C1, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryMemberPositions>},
    {0x000003F1, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryClientPositions>},
    {0x00000421, Role::kNone, false, &Dispatch<&CExchangeQueries::QueryBulletins>},
    {0x00000451, Role::kMonitor, false, &Dispatch<&CExchangeLogins::UserLogout>},
    {0x00000C51, Role::kMonitor, true, &Dispatch<&CExchangeLogins::UserPassword>},
    {0x00000461, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::ChangeExchangeState>},
    {0x00000471, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::ChangeMarketState>},
    {0x00000481, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::ChangeInstrumentState>},
    {0x000004A1, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::QueryExchangeState>},
    {0x000009E1, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::QueryMarketState>},
    {0x000004B1, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::QueryInstrumentState>},
    {0x000004E1, Role::kMonitor, false, &Dispatch<&CExchangeQueries::QueryTraders>},
    {0x000004F1, Role::kMonitor, true, &Dispatch<&CExchangeMonitor::PublishBulletin>},
    {0x00000581, Role::kMonitor, false, &Dispatch<&CExchangeMonitor::ForceTraderLogout>},
    {0x00000591, Role::kMonitor, true, &Dispatch<&CExchangeOrders::ForceCancelOrder>},
    {0x00000BD1, Role::kMonitor, true, &Dispatch<&CExchangeOrders::ForceCancelByFilter>},
    {0x00000BE1, Role::kMonitor, false, &Dispatch<&CExchangeQueries::QueryOrders4M>},
    {0x00000BF1, Role::kMonitor, false, &Dispatch<&CExchangeQueries::QueryMatches4M>},
};

CExchange::CExchange(CTradingDay day, CExchangeOutput& output, const CTimeOfDay& clock, const std::filesystem::path& dataDir)
    : m_clock(clock), m_state(std::move(day)), m_replies(output), m_logins(m_state, m_replies), m_orders(m_state, m_replies),
      m_queries(m_state, m_replies), m_monitor(m_state, m_replies, m_logins) {
    if (!dataDir.empty()) KeepDayIn(dataDir);
}

CExchange::~CExchange() = default;

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
