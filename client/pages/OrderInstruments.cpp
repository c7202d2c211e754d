// COrderInstruments: the twice-indexed instrument copies and the sorted names.
#include "client/pages/OrderInstruments.h"

#include <algorithm>

#include "client/shell/RecordKeys.h"
#include "quorex/Text.h"

namespace kvt {

int CompareInstrumentYqKey(const void* a, const void* b) {
    return CompareText(static_cast<const TYuanQiInst*>(a)->yqInstID, static_cast<const TYuanQiInst*>(b)->yqInstID);
}

COrderInstruments::COrderInstruments()
    : m_table({&CompareInstrumentKey, &CompareInstrumentYqKey}) {}

COrderInstruments::CNameChange COrderInstruments::Add(const TYuanQiInst& instrument) {
    const TYuanQiInst* known = m_table.Find(instrument);
    const std::string previous = known != nullptr ? std::string(quorex::FieldText(known->yqInstID)) : std::string();
    m_table.Upsert(instrument);
    const std::string name(quorex::FieldText(instrument.yqInstID));
    CNameChange change;
    if (known != nullptr && previous != name && FindByYqInstID(previous) == nullptr) {
        const auto old = std::lower_bound(m_names.begin(), m_names.end(), previous);
        if (old != m_names.end() && *old == previous) {
            change.removed = static_cast<int>(old - m_names.begin());
            m_names.erase(old);
        }
    }
    const auto place = std::lower_bound(m_names.begin(), m_names.end(), name);
    if (place != m_names.end() && *place == name) return change;
    change.inserted = static_cast<int>(place - m_names.begin());
    m_names.insert(place, name);
    return change;
}

const TYuanQiInst* COrderInstruments::FindByYqInstID(std::string_view yqInstID) const {
    TYuanQiInst probe{};
    // A longer text would be cut to a known code by the probe; it names no instrument.
    if (yqInstID.empty() || yqInstID.size() >= sizeof probe.yqInstID) return nullptr;
    quorex::SetText(probe.yqInstID, yqInstID);
    return static_cast<const TYuanQiInst*>(m_table.Index(1).FindFirst(&probe));
}

const TYuanQiInst* COrderInstruments::FindByInstID(std::string_view instID) const {
    TYuanQiInst probe{};
    if (instID.empty() || instID.size() >= sizeof probe.instID) return nullptr;
    quorex::SetText(probe.instID, instID);
    return m_table.Find(probe);
}

}  // namespace kvt
