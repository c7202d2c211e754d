// COrderInstruments: the order entry page's instrument list. It keeps a copy of every instrument
// record announced to the page in a typed record table indexed by instID (index 0, the key
// CClientApi's YqInstIDOf looks up) and by yqInstID (index 1, the key the instrument box is read
// with), and the sorted list of the yqInstIDs that the instrument box offers. An instrument
// announced again overwrites its copy in place; announced under another yqInstID, it is found
// by the new one only, and the old name leaves the list unless another instrument has it.
//
// Thread contract: user interface thread only. Ownership: owns the copies; they never move, so
// the table may be handed to CClientApi.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "client/shell/TypedRecordTable.h"
#include "quorex/Records.h"

namespace kvt {

class COrderInstruments {
public:
    COrderInstruments();

    // What an announcement did to Names(): the place the old name was taken from (an instrument
    // renamed), then the place the name was inserted at; -1 for nothing.
    struct CNameChange {
        int removed = -1;
        int inserted = -1;
    };
    // Stores the record and keeps Names() in step.
    CNameChange Add(const TYuanQiInst& instrument);

    // Lookups by the GBK code; null when unknown.
    const TYuanQiInst* FindByYqInstID(std::string_view yqInstID) const;
    const TYuanQiInst* FindByInstID(std::string_view instID) const;

    const CTypedRecordTable<TYuanQiInst>& Table() const { return m_table; }
    // Every yqInstID (GBK), sorted by their bytes, each once.
    const std::vector<std::string>& Names() const { return m_names; }

private:
    CTypedRecordTable<TYuanQiInst> m_table;
    std::vector<std::string> m_names;
};

// TYuanQiInst: yqInstID.
int CompareInstrumentYqKey(const void* a, const void* b);

}  // namespace kvt
