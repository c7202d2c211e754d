// Test doubles for the position and quotation pages: a prefill target that records every call,
// an observer that checks the pages' change notifications against their row counts, and the
// instrument table that names the instruments.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "client/pages/PageLinks.h"
#include "client/shell/ListRows.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/Text.h"

namespace kvt::test {

// A quotation as the exchange sends it: upDown signed, upDownRate its unsigned fraction.
inline TYqQuotation Quotation(const char* instID, const char* yqInstID, double lastest = 4000, double lastAverage = 4000) {
    TYqQuotation q{};
    quorex::SetText(q.instID, instID);
    quorex::SetText(q.yqInstID, yqInstID);
    q.lastest = lastest;
    q.lastAverage = lastAverage;
    q.upDown = lastest - lastAverage;
    q.upDownRate = std::fabs(q.upDown) / lastAverage;
    return q;
}

class CRecordedPrefill : public COrderPrefill {
public:
    struct CFromPosition {
        TYqClientPosi position;
        char direction;
    };
    struct CFromQuotation {
        TYqQuotation quotation;
        char direction;
        char offsetFlag;
    };
    std::vector<CFromPosition> fromPositions;
    std::vector<CFromQuotation> fromQuotations;

    void PrefillFromPosition(const TYqClientPosi& position, char direction) override {
        fromPositions.push_back({position, direction});
    }
    void PrefillFromQuotation(const TYqQuotation& quotation, char direction, char offsetFlag) override {
        fromQuotations.push_back({quotation, direction, offsetFlag});
    }
};

// Keeps the row count a view would believe from the notifications alone, and fails the test when
// a notification does not fit it (an insert beyond the end, a change of rows that do not exist).
class CRowCountMirror : public CListObserver {
public:
    explicit CRowCountMirror(CListRows& rows) : m_rows(rows) {
        m_count = rows.RowCount();
        rows.SetObserver(this);
    }
    ~CRowCountMirror() override { m_rows.SetObserver(nullptr); }

    int Count() const { return m_count; }
    std::vector<int> insertedAt;  // first row of every insert, in order

    void BeginInsert(int first, int count) override {
        EXPECT_TRUE(first >= 0 && first <= m_count && count > 0) << "insert " << first << "+" << count;
        insertedAt.push_back(first);
        m_pending = count;
    }
    void EndInsert() override {
        m_count += m_pending;
        EXPECT_EQ(m_count, m_rows.RowCount());
    }
    void BeginRemove(int first, int count) override {
        EXPECT_TRUE(first >= 0 && first + count <= m_count && count > 0);
        m_pending = count;
    }
    void EndRemove() override {
        m_count -= m_pending;
        EXPECT_EQ(m_count, m_rows.RowCount());
    }
    void RowsChanged(int first, int last) override { EXPECT_TRUE(first >= 0 && first <= last && last < m_count); }
    void BeginReset() override {}
    void EndReset() override { m_count = m_rows.RowCount(); }

private:
    CListRows& m_rows;
    int m_count = 0;
    int m_pending = 0;
};

// The order entry page's instrument list: instID and yqInstID of each, in list order.
class CInstrumentList {
public:
    void Add(const char* instID, const char* yqInstID) {
        TYuanQiInst instrument{};
        quorex::SetText(instrument.instID, instID);
        quorex::SetText(instrument.yqInstID, yqInstID);
        table.Insert(instrument);
    }
    CTypedRecordTable<TYuanQiInst> table{{&CompareInstrumentKey}};
};

}  // namespace kvt::test
