// The queries: a trader sees its own member's capital, positions, indentures, orders and matches;
// a monitor sees the whole exchange. Empty filter members (or "*") match everything.
#include "sim/Exchange.h"
#include "sim/Text.h"

namespace quorex::sim {
namespace {

// A range filter whose bounds are 0 (or empty) when open.
bool InRange(double value, double low, double high) { return (low == 0 || value >= low) && (high == 0 || value <= high); }
bool InTimeRange(std::string_view time, std::string_view low, std::string_view high) {
    return (low.empty() || time >= low) && (high.empty() || time <= high);
}

}  // namespace

std::string_view CExchange::VisibleMember(const CSession& session) const {
    return session.role == Role::kTrader ? TextOf(m_traders[session.user].record.memberID) : std::string_view();
}

void CExchange::QueryCapital(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryMemberCapital filter{};
    request.GetRecord(filter);
    std::vector<TMemberCapital> found;
    for (const TMemberCapital& capital : m_accounts.Capitals()) {
        if (Matches(VisibleMember(session), TextOf(capital.memberID)) && Matches(TextOf(filter.memberID), TextOf(capital.memberID)) &&
            MatchesChar(filter.accountType, capital.accountType)) {
            found.push_back(capital);
        }
    }
    AnswerRecords<TMemberCapital>(id, request, 0x000002E2, found);
}

void CExchange::QueryIndentures(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryElctIndenture filter{};
    request.GetRecord(filter);
    std::vector<TElctIndenture> found;
    for (const TElctIndenture& indenture : m_accounts.Indentures()) {
        if (Matches(VisibleMember(session), TextOf(indenture.memberID)) && Matches(TextOf(filter.memberID), TextOf(indenture.memberID)) &&
            Matches(TextOf(filter.clientID), TextOf(indenture.clientID)) && Matches(TextOf(filter.indentNo), TextOf(indenture.indentNo)) &&
            Matches(TextOf(filter.factoryID), TextOf(indenture.factoryID))) {
            found.push_back(indenture);
        }
    }
    AnswerRecords<TElctIndenture>(id, request, 0x000002F2, found);
}

void CExchange::QueryInstrumentIndentures(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryInstElctIndent filter{};
    request.GetRecord(filter);
    std::vector<TElctIndenture> found;
    const int instrument = FindInstrument(TextOf(filter.instID));
    if (instrument >= 0) {
        const std::string_view cateID = TextOf(m_day.instruments[instrument].info.cateID);
        for (const TElctIndenture& indenture : m_accounts.Indentures()) {
            if (TextOf(indenture.cateID) == cateID && Matches(VisibleMember(session), TextOf(indenture.memberID)) &&
                Matches(TextOf(filter.memberID), TextOf(indenture.memberID)) &&
                Matches(TextOf(filter.clientID), TextOf(indenture.clientID)) &&
                (filter.warehouseID == 0 || filter.warehouseID == indenture.warehouseID)) {
                found.push_back(indenture);
            }
        }
    }
    AnswerRecords<TElctIndenture>(id, request, 0x00000B42, found);
}

void CExchange::QueryOrders(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryOrder filter{};
    request.GetRecord(filter);
    std::vector<TYqOrder> found;
    for (const COrder& order : m_orders) {
        const TYqOrder& record = order.record;
        if (Matches(VisibleMember(session), TextOf(record.memberID)) && Matches(TextOf(filter.memberID), TextOf(record.memberID)) &&
            Matches(TextOf(filter.instID), TextOf(record.instID)) &&
            Matches(TextOf(filter.marketID), TextOf(m_day.instruments[order.instrument].info.marketID)) &&
            Matches(TextOf(filter.orderNo), TextOf(record.orderNo)) && Matches(TextOf(filter.clientID), TextOf(record.clientID)) &&
            MatchesChar(filter.offsetFlag, record.offSetFlag) && Matches(TextOf(filter.traderID), TextOf(record.traderID)) &&
            MatchesChar(filter.status, record.status)) {
            found.push_back(record);
        }
    }
    AnswerRecords<TYqOrder>(id, request, 0x00000302, found);
}

void CExchange::QueryOrders4M(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryYqOrder4M filter{};
    request.GetRecord(filter);
    std::vector<TYqOrder> found;
    for (const COrder& order : m_orders) {
        const TYqOrder& record = order.record;
        if (Matches(TextOf(filter.orderNo), TextOf(record.orderNo)) && Matches(TextOf(filter.instID), TextOf(record.instID)) &&
            Matches(TextOf(filter.memberID), TextOf(record.memberID)) && Matches(TextOf(filter.clientID), TextOf(record.clientID)) &&
            InTimeRange(TextOf(record.applyTime), TextOf(filter.orderTimeMin), TextOf(filter.orderTimeMax)) &&
            MatchesChar(filter.buyOrSell, record.buyOrSell) && MatchesChar(filter.offSetFlag, record.offSetFlag) &&
            InRange(record.price, filter.priceMin, filter.priceMax) && InRange(record.amount, filter.volumeMin, filter.volumeMax) &&
            MatchesChar(filter.status, record.status) && MatchesChar(filter.pledgeFlag, record.pledgeFlag)) {
            found.push_back(record);
        }
    }
    AnswerRecords<TYqOrder>(id, request, 0x00000BE2, found);
}

void CExchange::QueryMatches(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryMatch filter{};
    request.GetRecord(filter);
    std::vector<TYqMatch> found;
    for (const TYqMatch& match : m_matches) {
        const int instrument = FindInstrument(TextOf(match.instID));
        if (Matches(VisibleMember(session), TextOf(match.memberID)) && Matches(TextOf(filter.memberID), TextOf(match.memberID)) &&
            Matches(TextOf(filter.instID), TextOf(match.instID)) &&
            Matches(TextOf(filter.marketID), TextOf(m_day.instruments[instrument].info.marketID)) &&
            Matches(TextOf(filter.orderNo), TextOf(match.orderNo)) && Matches(TextOf(filter.clientID), TextOf(match.clientID)) &&
            Matches(TextOf(filter.matchNo), TextOf(match.matchNo)) && Matches(TextOf(filter.traderID), TextOf(match.traderID))) {
            found.push_back(match);
        }
    }
    AnswerRecords<TYqMatch>(id, request, 0x00000352, found);
}

void CExchange::QueryMatches4M(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryYqMatch4M filter{};
    request.GetRecord(filter);
    std::vector<TYqMatch> found;
    for (const TYqMatch& match : m_matches) {
        if (Matches(TextOf(filter.matchNo), TextOf(match.matchNo)) && Matches(TextOf(filter.memberID), TextOf(match.memberID)) &&
            Matches(TextOf(filter.clientID), TextOf(match.clientID)) &&
            InTimeRange(TextOf(match.matchTime), TextOf(filter.matchTimeMin), TextOf(filter.matchTimeMax)) &&
            Matches(TextOf(filter.instID), TextOf(match.instID)) && MatchesChar(filter.buyOrSell, match.buyOrSell) &&
            MatchesChar(filter.offSetFlag, match.offsetFlag) && InRange(match.price, filter.priceMin, filter.priceMax) &&
            InRange(match.volume, filter.volumeMin, filter.volumeMax)) {
            found.push_back(match);
        }
    }
    AnswerRecords<TYqMatch>(id, request, 0x00000BF2, found);
}

void CExchange::QueryQuotations(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryQuotation filter{};
    request.GetRecord(filter);
    std::vector<TYqQuotation> found;
    for (std::size_t i = 0; i < m_instruments.size(); ++i) {
        const TYuanQiInst& info = m_day.instruments[i].info;
        if (Matches(TextOf(filter.instID), TextOf(info.instID)) && Matches(TextOf(filter.marketID), TextOf(info.marketID))) {
            found.push_back(m_instruments[i].quotation);
        }
    }
    AnswerRecords<TYqQuotation>(id, request, 0x00000382, found);
}

void CExchange::QueryLastQuotations(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryQuotation filter{};
    request.GetRecord(filter);
    std::vector<TYqLastQuotation> found;
    for (const TYqLastQuotation& last : m_day.lastQuotations) {
        const int instrument = FindInstrument(TextOf(last.instID));
        if (Matches(TextOf(filter.instID), TextOf(last.instID)) &&
            Matches(TextOf(filter.marketID), TextOf(m_day.instruments[instrument].info.marketID))) {
            found.push_back(last);
        }
    }
    AnswerRecords<TYqLastQuotation>(id, request, 0x00000392, found);
}

void CExchange::QueryMemberPositions(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryMemberPosi filter{};
    request.GetRecord(filter);
    std::vector<TYqMemberPosi> found;
    for (const TYqMemberPosi& position : m_accounts.MemberPositions()) {
        const int instrument = FindInstrument(TextOf(position.instID));
        if (Matches(VisibleMember(session), TextOf(position.memberID)) && Matches(TextOf(filter.memberID), TextOf(position.memberID)) &&
            Matches(TextOf(filter.instID), TextOf(position.instID)) &&
            Matches(TextOf(filter.marketID), TextOf(m_day.instruments[instrument].info.marketID))) {
            found.push_back(position);
        }
    }
    AnswerRecords<TYqMemberPosi>(id, request, 0x000003C2, found);
}

void CExchange::QueryClientPositions(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryClientPosi filter{};
    request.GetRecord(filter);
    std::vector<TYqClientPosi> found;
    m_accounts.ForEachClientPosition([&](const TYqClientPosi& position) {
        const int instrument = FindInstrument(TextOf(position.instID));
        if (Matches(VisibleMember(session), TextOf(position.memberID)) && Matches(TextOf(filter.memberID), TextOf(position.memberID)) &&
            Matches(TextOf(filter.clientID), TextOf(position.clientID)) && Matches(TextOf(filter.instID), TextOf(position.instID)) &&
            Matches(TextOf(filter.marketID), TextOf(m_day.instruments[instrument].info.marketID))) {
            found.push_back(position);
        }
    });
    AnswerRecords<TYqClientPosi>(id, request, 0x000003F2, found);
}

void CExchange::QueryBulletins(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqQryTradeBulletinBoard filter{};
    request.GetRecord(filter);
    std::vector<TTradeBulletinBoard> found;
    for (const TTradeBulletinBoard& bulletin : m_day.bulletins) {
        // A bulletin without a member is for everyone; one with a member only for that member.
        const std::string_view addressee = TextOf(bulletin.memberID);
        if ((addressee.empty() || Matches(VisibleMember(session), addressee)) && Matches(TextOf(filter.memberID), addressee) &&
            Matches(TextOf(filter.announceDate), TextOf(bulletin.announceDate))) {
            found.push_back(bulletin);
        }
    }
    AnswerRecords<TTradeBulletinBoard>(id, request, 0x00000422, found);
}

void CExchange::QueryTraders(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryTrader filter{};
    request.GetRecord(filter);
    std::vector<TTrader> found;
    for (const CTraderState& trader : m_traders) {
        if (!Matches(TextOf(filter.traderID), TextOf(trader.record.traderID))) continue;
        TTrader& record = found.emplace_back(trader.record);
        SetText(record.password, "");
        record.isLogin = trader.online ? '1' : '0';
        SetText(record.localOrderNo, trader.lastLocalOrderText);
    }
    AnswerRecords<TTrader>(id, request, 0x000004E2, found);
}

}  // namespace quorex::sim
