#include "sim/Accounts.h"

#include <algorithm>
#include <tuple>

#include "sim/Text.h"

namespace quorex::sim {

CAccounts::CAccounts(const CTradingDay& day)
    : m_day(day), m_clients(day.clients), m_capitals(day.capitals), m_indentures(day.indentures),
      m_openInterest(day.instruments.size(), 0) {
    // Every client trades on an account of its member; one that was not configured starts empty.
    for (const TClient& client : m_clients) {
        if (Capital(FieldText(client.memberID), client.accountType) != nullptr) continue;
        TMemberCapital capital{};
        SetText(capital.memberID, FieldText(client.memberID));
        capital.accountType = client.accountType;
        m_capitals.push_back(capital);
    }
    for (const CPositionConfig& configured : day.positions) {
        const int client = FindClient(configured.clientID);
        const auto instrument = std::find_if(day.instruments.begin(), day.instruments.end(), [&](const CInstrumentConfig& i) {
            return FieldText(i.info.instID) == configured.instID;
        });
        const int index = static_cast<int>(instrument - day.instruments.begin());
        const double ref = instrument->info.refPrice;
        CPosition& position = PositionOf(client, index);
        position.record.longPosi += configured.longPosi;
        position.record.lastLong += configured.longPosi;
        position.record.shortPosi += configured.shortPosi;
        position.record.lastShort += configured.shortPosi;
        const double longPrice = configured.longPrice > 0 ? configured.longPrice : ref;
        const double shortPrice = configured.shortPrice > 0 ? configured.shortPrice : ref;
        position.longCost += longPrice * configured.longPosi;
        position.shortDepositCost += shortPrice * configured.shortPosi;
        position.longMargin += MarginFor(index, longPrice, configured.longPosi);
        position.shortMargin += MarginFor(index, shortPrice, configured.shortPosi);
        position.record.earnestPosiLast = position.record.lastLong + position.record.lastShort;
        SyncTotals(position);
        m_openInterest[index] += configured.longPosi;
        // The deposits of yesterday's holdings are occupied from the start of the day.
        CapitalOf(client)->lastOccupied += MarginFor(index, longPrice, configured.longPosi) +
                                           MarginFor(index, shortPrice, configured.shortPosi);
    }
    for (TMemberCapital& capital : m_capitals) Recompute(capital);
}

int CAccounts::FindClient(std::string_view clientID) const {
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        if (FieldText(m_clients[i].clientID) == clientID) return static_cast<int>(i);
    }
    return -1;
}

const TMemberCapital* CAccounts::Capital(std::string_view memberID, char accountType) const {
    const auto found = std::find_if(m_capitals.begin(), m_capitals.end(), [&](const TMemberCapital& c) {
        return FieldText(c.memberID) == memberID && c.accountType == accountType;
    });
    return found == m_capitals.end() ? nullptr : &*found;
}

TMemberCapital* CAccounts::CapitalOf(int client) {
    const TClient& owner = m_clients[client];
    return const_cast<TMemberCapital*>(Capital(FieldText(owner.memberID), owner.accountType));
}

CAccounts::CPosition& CAccounts::PositionOf(int client, int instrument) {
    auto [entry, added] = m_positions.try_emplace({client, instrument});
    if (added) {
        TYqClientPosi& record = entry->second.record;
        const TClient& owner = m_clients[client];
        SetText(record.instID, FieldText(m_day.instruments[instrument].info.instID));
        SetText(record.clientID, FieldText(owner.clientID));
        SetText(record.memberID, FieldText(owner.memberID));
        record.accountType = owner.accountType;
    }
    return entry->second;
}

double CAccounts::MarginFor(int instrument, double price, int amount) const {
    const CInstrumentConfig& config = m_day.instruments[instrument];
    return price * amount * config.info.unit * config.marginRate;
}

int CAccounts::FindIndenture(std::string_view indentNo) const {
    for (std::size_t i = 0; i < m_indentures.size(); ++i) {
        if (FieldText(m_indentures[i].indentNo) == indentNo) return static_cast<int>(i);
    }
    return -1;
}

void CAccounts::Recompute(TMemberCapital& capital) {
    capital.todayBalance = capital.lastBalance + capital.todayIn - capital.todayOut + capital.profit - capital.lastOccupied -
                           capital.todayOccupied - capital.frozen;
}

void CAccounts::SyncTotals(CPosition& position) {
    TYqClientPosi& record = position.record;
    record.indentPosi = position.shortIndent;
    record.earnestPosi = record.longPosi + record.shortPosi - position.shortIndent;
}

Rsp CAccounts::ReserveIndentures(COrder& order, std::span<const TYqFrznElctIndenture> requested, bool opening) {
    const TClient& client = m_clients[order.client];
    const std::string_view cateID = FieldText(m_day.instruments[order.instrument].info.cateID);
    std::vector<CIndentureFreeze> freezes;
    long long total = 0;
    for (const TYqFrznElctIndenture& entry : requested) {
        const int index = FindIndenture(FieldText(entry.indentNo));
        if (index < 0 || entry.frznAmount <= 0) return Rsp::kIndentureNotAvailable;
        const TElctIndenture& indenture = m_indentures[index];
        if (FieldText(indenture.clientID) != FieldText(client.clientID) || indenture.canUseInYq == '0' ||
            FieldText(indenture.cateID) != cateID) {
            return Rsp::kIndentureNotAvailable;
        }
        // The same indenture may be listed twice; the amounts add up.
        int already = 0;
        for (const CIndentureFreeze& freeze : freezes) already += freeze.indenture == index ? freeze.amount : 0;
        const int freeAmount = opening ? indenture.avaAmount : indenture.ocuAmountYq - indenture.frznYqOffset;
        if (entry.frznAmount > freeAmount - already) return Rsp::kIndentureNotAvailable;
        freezes.push_back({index, entry.frznAmount});
        total += entry.frznAmount;
    }
    if (total != order.record.amount) return Rsp::kIndentureAmountMismatch;
    for (const CIndentureFreeze& freeze : freezes) {
        TElctIndenture& indenture = m_indentures[freeze.indenture];
        if (opening) {
            indenture.avaAmount -= freeze.amount;
            indenture.frznYqOpen += freeze.amount;
        } else {
            indenture.frznYqOffset += freeze.amount;
        }
    }
    order.indentures = std::move(freezes);
    return Rsp::kSuccess;
}

Rsp CAccounts::Reserve(COrder& order, std::span<const TYqFrznElctIndenture> indentures) {
    CPosition& position = PositionOf(order.client, order.instrument);
    TYqClientPosi& record = position.record;
    const int amount = order.record.amount;
    switch (order.kind) {
        case OrderKind::kOpenLongDeposit:
        case OrderKind::kOpenShortDeposit: {
            TMemberCapital& capital = *CapitalOf(order.client);
            const double margin = MarginFor(order.instrument, order.record.price, amount);
            if (margin > capital.todayBalance) return Rsp::kInsufficientCapital;
            capital.frozen += margin;
            Recompute(capital);
            order.frozenMargin = margin;
            record.earnestFrozen += amount;
            return Rsp::kSuccess;
        }
        case OrderKind::kOpenShortIndenture: {
            const Rsp result = ReserveIndentures(order, indentures, true);
            if (result == Rsp::kSuccess) record.indentFrozen += amount;
            return result;
        }
        case OrderKind::kCloseLong:
            if (record.longPosi - record.offsetLongFrozen < amount) return Rsp::kInsufficientPosition;
            record.offsetLongFrozen += amount;
            return Rsp::kSuccess;
        case OrderKind::kCloseShortDeposit: {
            const int depositShort = record.shortPosi - position.shortIndent;
            const int frozen = record.offsetShortFrozen - position.offsetShortIndentFrozen;
            if (depositShort - frozen < amount) return Rsp::kInsufficientPosition;
            record.offsetShortFrozen += amount;
            return Rsp::kSuccess;
        }
        case OrderKind::kCloseShortIndenture: {
            if (position.shortIndent - position.offsetShortIndentFrozen < amount) return Rsp::kInsufficientPosition;
            const Rsp result = ReserveIndentures(order, indentures, false);
            if (result != Rsp::kSuccess) return result;
            record.offsetShortFrozen += amount;
            position.offsetShortIndentFrozen += amount;
            return Rsp::kSuccess;
        }
    }
    return Rsp::kBadOrderCodes;
}

void CAccounts::Release(COrder& order) {
    CPosition& position = PositionOf(order.client, order.instrument);
    TYqClientPosi& record = position.record;
    const int remaining = order.record.remainAmount;
    switch (order.kind) {
        case OrderKind::kOpenLongDeposit:
        case OrderKind::kOpenShortDeposit: {
            TMemberCapital& capital = *CapitalOf(order.client);
            capital.frozen -= order.frozenMargin;
            Recompute(capital);
            order.frozenMargin = 0;
            record.earnestFrozen -= remaining;
            break;
        }
        case OrderKind::kOpenShortIndenture:
            for (CIndentureFreeze& freeze : order.indentures) {
                m_indentures[freeze.indenture].avaAmount += freeze.amount;
                m_indentures[freeze.indenture].frznYqOpen -= freeze.amount;
                freeze.amount = 0;
            }
            record.indentFrozen -= remaining;
            break;
        case OrderKind::kCloseLong:
            record.offsetLongFrozen -= remaining;
            break;
        case OrderKind::kCloseShortDeposit:
            record.offsetShortFrozen -= remaining;
            break;
        case OrderKind::kCloseShortIndenture:
            for (CIndentureFreeze& freeze : order.indentures) {
                m_indentures[freeze.indenture].frznYqOffset -= freeze.amount;
                freeze.amount = 0;
            }
            record.offsetShortFrozen -= remaining;
            position.offsetShortIndentFrozen -= remaining;
            break;
    }
}

double CAccounts::Fill(COrder& order, int volume, double price) {
    CPosition& position = PositionOf(order.client, order.instrument);
    TYqClientPosi& record = position.record;
    TMemberCapital& capital = *CapitalOf(order.client);
    double profit = 0;
    // Takes volume out of the order's indenture freezes, in the order they were listed.
    const auto consumeIndentures = [&](auto book) {
        int left = volume;
        for (CIndentureFreeze& freeze : order.indentures) {
            const int take = std::min(left, freeze.amount);
            freeze.amount -= take;
            left -= take;
            book(m_indentures[freeze.indenture], take);
        }
    };
    // Closes volume of a holding: releases its deposit share and books the profit.
    const auto close = [&](int& held, double& cost, double* margin, bool isLong) {
        const double averagePrice = cost / held;
        profit = ProfitAgainstAverage(price, averagePrice, volume, m_day.instruments[order.instrument].info.unit, isLong);
        cost -= averagePrice * volume;
        if (margin != nullptr) {
            const double release = *margin * volume / held;
            *margin -= release;
            capital.todayOccupied -= release;
        }
        held -= volume;
        capital.profit += profit;
    };

    switch (order.kind) {
        case OrderKind::kOpenLongDeposit:
        case OrderKind::kOpenShortDeposit: {
            const double release = order.frozenMargin * volume / order.record.remainAmount;
            const double occupied = MarginFor(order.instrument, price, volume);
            order.frozenMargin -= release;
            capital.frozen -= release;
            capital.todayOccupied += occupied;
            record.earnestFrozen -= volume;
            record.todayEarnest += volume;
            if (order.kind == OrderKind::kOpenLongDeposit) {
                record.longPosi += volume;
                record.todayLong += volume;
                position.longCost += price * volume;
                position.longMargin += occupied;
                m_openInterest[order.instrument] += volume;
            } else {
                record.shortPosi += volume;
                record.todayShort += volume;
                position.shortDepositCost += price * volume;
                position.shortMargin += occupied;
            }
            break;
        }
        case OrderKind::kOpenShortIndenture:
            consumeIndentures([](TElctIndenture& indenture, int take) {
                indenture.frznYqOpen -= take;
                indenture.ocuAmountYq += take;
            });
            record.indentFrozen -= volume;
            record.shortPosi += volume;
            record.todayShort += volume;
            record.todayIndent += volume;
            position.shortIndent += volume;
            position.shortIndentCost += price * volume;
            break;
        case OrderKind::kCloseLong:
            close(record.longPosi, position.longCost, &position.longMargin, true);
            record.offsetLongFrozen -= volume;
            record.todayOffsetLong += volume;
            record.todayOffsetEarnest += volume;
            m_openInterest[order.instrument] -= volume;
            break;
        case OrderKind::kCloseShortDeposit: {
            int depositShort = record.shortPosi - position.shortIndent;
            close(depositShort, position.shortDepositCost, &position.shortMargin, false);
            record.shortPosi -= volume;
            record.offsetShortFrozen -= volume;
            record.todayOffsetShort += volume;
            record.todayOffsetEarnest += volume;
            break;
        }
        case OrderKind::kCloseShortIndenture:
            consumeIndentures([](TElctIndenture& indenture, int take) {
                indenture.frznYqOffset -= take;
                indenture.ocuAmountYq -= take;
                indenture.avaAmount += take;
            });
            close(position.shortIndent, position.shortIndentCost, nullptr, false);
            record.shortPosi -= volume;
            record.offsetShortFrozen -= volume;
            position.offsetShortIndentFrozen -= volume;
            record.todayOffsetShort += volume;
            record.todayOffsetIndent += volume;
            break;
    }
    SyncTotals(position);
    Recompute(capital);
    return profit;
}

std::vector<TYqMemberPosi> CAccounts::MemberPositions() const {
    std::vector<TYqMemberPosi> result;
    // (member, account type, instrument) to the index of its member position in result.
    std::map<std::tuple<std::string_view, char, int>, std::size_t> indexOf;
    for (const auto& [key, position] : m_positions) {
        const TYqClientPosi& client = position.record;
        const auto [entry, added] = indexOf.try_emplace({FieldText(client.memberID), client.accountType, key.second}, result.size());
        if (added) {
            TYqMemberPosi& created = result.emplace_back();
            SetText(created.memberID, FieldText(client.memberID));
            created.accountType = client.accountType;
            SetText(created.instID, FieldText(client.instID));
        }
        TYqMemberPosi& member = result[entry->second];
        member.longPosi += client.longPosi;
        member.shortPosi += client.shortPosi;
        member.earnestPosi += client.earnestPosi;
        member.indentPosi += client.indentPosi;
        member.lastLong += client.lastLong;
        member.lastShort += client.lastShort;
        member.earnestPosiLast += client.earnestPosiLast;
        member.todayLong += client.todayLong;
        member.todayShort += client.todayShort;
        member.todayEarnest += client.todayEarnest;
        member.todayIndent += client.todayIndent;
        member.todayOffsetLong += client.todayOffsetLong;
        member.todayOffsetShort += client.todayOffsetShort;
        member.todayOffsetEarnest += client.todayOffsetEarnest;
        member.todayOffsetIndent += client.todayOffsetIndent;
        member.offsetLongFrozen += client.offsetLongFrozen;
        member.offsetShortFrozen += client.offsetShortFrozen;
        member.earnestFrozen += client.earnestFrozen;
        member.indentFrozen += client.indentFrozen;
        member.longTurnOver += position.longCost;
        member.shortTurnOver += position.shortDepositCost + position.shortIndentCost;
    }
    return result;
}

}  // namespace quorex::sim
