// The queries: a trader sees its own member's capital, positions, indentures, orders and matches;
// a monitor sees the whole exchange. Empty filter members (or "*") match everything. Positions and
// capital are answered with their open lots marked to market.
#include "sim/ExchangeQueries.h"
#include "sim/PositionMarks.h"
#include "sim/Text.h"
#include "public/PackageTypes.h"

namespace quorex::sim {
namespace {

// A range filter whose bounds are 0 (or empty) when open.
bool InRange(double value, double low, double high) { return (low == 0 || value >= low) && (high == 0 || value <= high); }
bool InTimeRange(std::string_view time, std::string_view low, std::string_view high) {
    return (low.empty() || time >= low) && (high.empty() || time <= high);
}

}  // namespace

std::string_view CExchangeQueries::VisibleMember(const CExchangeSession& session) const {
    return session.role == Role::kTrader ? FieldText(m_state.traders[session.user].record.memberID) : std::string_view();
}

void CExchangeQueries::QueryCapital(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryMemberCapital filter{};
    request.GetRecord(filter);
    std::vector<TMemberCapital> found;
    for (const TMemberCapital& capital : m_state.accounts.Capitals()) {
        if (Matches(VisibleMember(session), FieldText(capital.memberID)) && Matches(FieldText(filter.memberID), FieldText(capital.memberID)) &&
            MatchesChar(filter.accountType, capital.accountType)) {
            found.push_back(capital);
        }
    }
    if (!found.empty()) {
        const std::vector<TYqMemberPosi> marked = MarkedMemberPositions(m_state);
        for (TMemberCapital& capital : found) SetFloatingProfit(capital, marked);
    }
    m_replies.AnswerRecords<TMemberCapital>(id, request, tid::RspQryMemberCapital, found);
}

void CExchangeQueries::QueryIndentures(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryElctIndenture filter{};
    request.GetRecord(filter);
    std::vector<TElctIndenture> found;
    for (const TElctIndenture& indenture : m_state.accounts.Indentures()) {
        if (Matches(VisibleMember(session), FieldText(indenture.memberID)) && Matches(FieldText(filter.memberID), FieldText(indenture.memberID)) &&
            Matches(FieldText(filter.clientID), FieldText(indenture.clientID)) && Matches(FieldText(filter.indentNo), FieldText(indenture.indentNo)) &&
            Matches(FieldText(filter.factoryID), FieldText(indenture.factoryID))) {
            found.push_back(indenture);
        }
    }
    m_replies.AnswerRecords<TElctIndenture>(id, request, tid::RspQryElctIndenture, found);
}

void CExchangeQueries::QueryInstrumentIndentures(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryInstElctIndent filter{};
    request.GetRecord(filter);
    std::vector<TElctIndenture> found;
    const int instrument = m_state.FindInstrument(FieldText(filter.instID));
    if (instrument >= 0) {
        const std::string_view cateID = FieldText(m_state.day.instruments[instrument].info.cateID);
        for (const TElctIndenture& indenture : m_state.accounts.Indentures()) {
            if (FieldText(indenture.cateID) == cateID && Matches(VisibleMember(session), FieldText(indenture.memberID)) &&
                Matches(FieldText(filter.memberID), FieldText(indenture.memberID)) &&
                Matches(FieldText(filter.clientID), FieldText(indenture.clientID)) &&
                (filter.warehouseID == 0 || filter.warehouseID == indenture.warehouseID)) {
                found.push_back(indenture);
            }
        }
    }
    m_replies.AnswerRecords<TElctIndenture>(id, request, tid::RspQryYqInstElctIndent, found);
}

void CExchangeQueries::QueryOrders(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryOrder filter{};
    request.GetRecord(filter);
    std::vector<TYqOrder> found;
    for (const COrder& order : m_state.orders) {
        const TYqOrder& record = order.record;
        if (Matches(VisibleMember(session), FieldText(record.memberID)) && Matches(FieldText(filter.memberID), FieldText(record.memberID)) &&
            Matches(FieldText(filter.instID), FieldText(record.instID)) &&
            Matches(FieldText(filter.marketID), FieldText(m_state.day.instruments[order.instrument].info.marketID)) &&
            Matches(FieldText(filter.orderNo), FieldText(record.orderNo)) && Matches(FieldText(filter.clientID), FieldText(record.clientID)) &&
            MatchesChar(filter.offsetFlag, record.offSetFlag) && Matches(FieldText(filter.traderID), FieldText(record.traderID)) &&
            MatchesChar(filter.status, record.status)) {
            found.push_back(record);
        }
    }
    m_replies.AnswerRecords<TYqOrder>(id, request, tid::RspQryYqOrder, found);
}

void CExchangeQueries::QueryOrders4M(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryYqOrder4M filter{};
    request.GetRecord(filter);
    std::vector<TYqOrder> found;
    for (const COrder& order : m_state.orders) {
        const TYqOrder& record = order.record;
        if (Matches(FieldText(filter.orderNo), FieldText(record.orderNo)) && Matches(FieldText(filter.instID), FieldText(record.instID)) &&
            Matches(FieldText(filter.memberID), FieldText(record.memberID)) && Matches(FieldText(filter.clientID), FieldText(record.clientID)) &&
            InTimeRange(FieldText(record.applyTime), FieldText(filter.orderTimeMin), FieldText(filter.orderTimeMax)) &&
            MatchesChar(filter.buyOrSell, record.buyOrSell) && MatchesChar(filter.offSetFlag, record.offSetFlag) &&
            InRange(record.price, filter.priceMin, filter.priceMax) && InRange(record.amount, filter.volumeMin, filter.volumeMax) &&
            MatchesChar(filter.status, record.status) && MatchesChar(filter.pledgeFlag, record.pledgeFlag)) {
            found.push_back(record);
        }
    }
    m_replies.AnswerRecords<TYqOrder>(id, request, tid::RspQryYqOrder4M, found);
}

void CExchangeQueries::QueryMatches(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryMatch filter{};
    request.GetRecord(filter);
    std::vector<TYqMatch> found;
    for (const TYqMatch& match : m_state.matches) {
        const int instrument = m_state.FindInstrument(FieldText(match.instID));
        if (Matches(VisibleMember(session), FieldText(match.memberID)) && Matches(FieldText(filter.memberID), FieldText(match.memberID)) &&
            Matches(FieldText(filter.instID), FieldText(match.instID)) &&
            Matches(FieldText(filter.marketID), FieldText(m_state.day.instruments[instrument].info.marketID)) &&
            Matches(FieldText(filter.orderNo), FieldText(match.orderNo)) && Matches(FieldText(filter.clientID), FieldText(match.clientID)) &&
            Matches(FieldText(filter.matchNo), FieldText(match.matchNo)) && Matches(FieldText(filter.traderID), FieldText(match.traderID))) {
            found.push_back(match);
        }
    }
    m_replies.AnswerRecords<TYqMatch>(id, request, tid::RspQryYqMatch, found);
}

void CExchangeQueries::QueryMatches4M(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryYqMatch4M filter{};
    request.GetRecord(filter);
    std::vector<TYqMatch> found;
    for (const TYqMatch& match : m_state.matches) {
        if (Matches(FieldText(filter.matchNo), FieldText(match.matchNo)) && Matches(FieldText(filter.memberID), FieldText(match.memberID)) &&
            Matches(FieldText(filter.clientID), FieldText(match.clientID)) &&
            InTimeRange(FieldText(match.matchTime), FieldText(filter.matchTimeMin), FieldText(filter.matchTimeMax)) &&
            Matches(FieldText(filter.instID), FieldText(match.instID)) && MatchesChar(filter.buyOrSell, match.buyOrSell) &&
            MatchesChar(filter.offSetFlag, match.offsetFlag) && InRange(match.price, filter.priceMin, filter.priceMax) &&
            InRange(match.volume, filter.volumeMin, filter.volumeMax)) {
            found.push_back(match);
        }
    }
    m_replies.AnswerRecords<TYqMatch>(id, request, tid::RspQryYqMatch4M, found);
}

void CExchangeQueries::QueryQuotations(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryQuotation filter{};
    request.GetRecord(filter);
    std::vector<TYqQuotation> found;
    for (std::size_t i = 0; i < m_state.instruments.size(); ++i) {
        const TYuanQiInst& info = m_state.day.instruments[i].info;
        if (Matches(FieldText(filter.instID), FieldText(info.instID)) && Matches(FieldText(filter.marketID), FieldText(info.marketID))) {
            found.push_back(m_state.instruments[i].quotation);
        }
    }
    m_replies.AnswerRecords<TYqQuotation>(id, request, tid::RspQryYqQuotation, found);
}

void CExchangeQueries::QueryLastQuotations(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryQuotation filter{};
    request.GetRecord(filter);
    std::vector<TYqLastQuotation> found;
    for (const TYqLastQuotation& last : m_state.day.lastQuotations) {
        const int instrument = m_state.FindInstrument(FieldText(last.instID));
        if (Matches(FieldText(filter.instID), FieldText(last.instID)) &&
            Matches(FieldText(filter.marketID), FieldText(m_state.day.instruments[instrument].info.marketID))) {
            found.push_back(last);
        }
    }
    m_replies.AnswerRecords<TYqLastQuotation>(id, request, tid::RspQryYqLastQuotation, found);
}

void CExchangeQueries::QueryMemberPositions(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryMemberPosi filter{};
    request.GetRecord(filter);
    std::vector<TYqMemberPosi> found;
    for (const TYqMemberPosi& position : MarkedMemberPositions(m_state)) {
        const int instrument = m_state.FindInstrument(FieldText(position.instID));
        if (Matches(VisibleMember(session), FieldText(position.memberID)) && Matches(FieldText(filter.memberID), FieldText(position.memberID)) &&
            Matches(FieldText(filter.instID), FieldText(position.instID)) &&
            Matches(FieldText(filter.marketID), FieldText(m_state.day.instruments[instrument].info.marketID))) {
            found.push_back(position);
        }
    }
    m_replies.AnswerRecords<TYqMemberPosi>(id, request, tid::RspQryYqMemberPosi, found);
}

void CExchangeQueries::QueryClientPositions(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryClientPosi filter{};
    request.GetRecord(filter);
    std::vector<TYqClientPosi> found;
    m_state.accounts.ForEachClientPosition([&](const TYqClientPosi& position) {
        const int instrument = m_state.FindInstrument(FieldText(position.instID));
        if (Matches(VisibleMember(session), FieldText(position.memberID)) && Matches(FieldText(filter.memberID), FieldText(position.memberID)) &&
            Matches(FieldText(filter.clientID), FieldText(position.clientID)) && Matches(FieldText(filter.instID), FieldText(position.instID)) &&
            Matches(FieldText(filter.marketID), FieldText(m_state.day.instruments[instrument].info.marketID))) {
            found.push_back(position);
        }
    });
    m_replies.AnswerRecords<TYqClientPosi>(id, request, tid::RspQryYqClientPosi, found);
}

void CExchangeQueries::QueryBulletins(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqQryTradeBulletinBoard filter{};
    request.GetRecord(filter);
    std::vector<TTradeBulletinBoard> found;
    for (const TTradeBulletinBoard& bulletin : m_state.day.bulletins) {
        // A bulletin without a member is for everyone; one with a member only for that member.
        const std::string_view addressee = FieldText(bulletin.memberID);
        if ((addressee.empty() || Matches(VisibleMember(session), addressee)) && Matches(FieldText(filter.memberID), addressee) &&
            Matches(FieldText(filter.announceDate), FieldText(bulletin.announceDate))) {
            found.push_back(bulletin);
        }
    }
    m_replies.AnswerRecords<TTradeBulletinBoard>(id, request, tid::RspQryTradeBulletinBoard, found);
}

void CExchangeQueries::QueryTraders(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryTrader filter{};
    request.GetRecord(filter);
    std::vector<TTrader> found;
    for (const CTraderState& trader : m_state.traders) {
        if (!Matches(FieldText(filter.traderID), FieldText(trader.record.traderID))) continue;
        TTrader& record = found.emplace_back(trader.record);
        SetText(record.password, "");
        record.isLogin = trader.online ? '1' : '0';
        SetText(record.localOrderNo, trader.lastLocalOrderText);
    }
    m_replies.AnswerRecords<TTrader>(id, request, tid::RspQryTrader, found);
}

}  // namespace quorex::sim
