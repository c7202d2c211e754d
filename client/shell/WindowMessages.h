// The client's window messages, the ones that remain messages: those the pages post to one another
// (and the tab control posts to them), and the main frame's status text. What the exchange tells
// the windows travels as typed events instead (TraderEvents.h). Numbers start at the user message
// base 1024 and are fixed. Unless a message says otherwise, wParam and lParam point to records
// that are valid only while the message is being handled, and the receiver copies what it keeps.
#pragma once

#include <cstdint>

namespace kvt {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;

inline constexpr unsigned kUserMessageBase = 1024;

enum EWindowMessage : unsigned {
    WM_INDENTURE_SELECTED = kUserMessageBase + 8,  // 0 / 0, posted to the order entry page
    WM_SELECT_PAGE = kUserMessageBase + 9,         // page window / 0, posted to the tab control
    WM_PAGE_REFRESH = kUserMessageBase + 10,       // 0 / 0, to a tab page
    WM_STATUS_TEXT = kUserMessageBase + 99,        // a sender's number (0, or the number below) / TTRspMsg
    WM_ORDER_RTN = kUserMessageBase + 107,         // TYqOrder (the 报单 page's copy) / 0, posted to the 未成交单 page
    WM_ORDER_CANCEL_RSP = kUserMessageBase + 109,  // the 报单 page's number as a sender of status texts
};

// The record or TTRspMsg a message parameter points to; null when the sender passed none.
template <class Record>
const Record* MessageRecord(WParam wParam) {
    return reinterpret_cast<const Record*>(wParam);
}
template <class Record>
const Record* MessageRecord(LParam lParam) {
    return reinterpret_cast<const Record*>(lParam);
}

template <class Record>
WParam AsWParam(const Record* record) {
    return reinterpret_cast<WParam>(record);
}
template <class Record>
LParam AsLParam(const Record* record) {
    return reinterpret_cast<LParam>(record);
}

}  // namespace kvt
