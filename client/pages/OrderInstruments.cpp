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

int COrderInstruments::Add(const TYuanQiInst& instrument) {
    m_table.Upsert(instrument);
    const std::string name(quorex::FieldText(instrument.yqInstID));
    const auto place = std::lower_bound(m_names.begin(), m_names.end(), name);
    if (place != m_names.end() && *place == name) return -1;
    const int position = static_cast<int>(place - m_names.begin());
    m_names.insert(place, name);
    return position;
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
