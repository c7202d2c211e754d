// The client's window messages and the parameter types they travel with. Numbers start at the
// toolkit-independent user message base 1024; each page and dialog of the client reacts to them,
// so the values are fixed. Unless a message says otherwise, wParam points to the callback's record
// (null for a response without records) and lParam to its TTRspMsg; both are valid only while the
// message is being handled, and the receiver copies what it keeps.
#pragma once

#include <cstdint>

namespace kvt {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;

inline constexpr unsigned kUserMessageBase = 1024;

enum EWindowMessage : unsigned {
    WM_INDENTURE_SELECTED = kUserMessageBase + 8,  // 0 / 0, posted to the order entry page
    WM_SELECT_PAGE = kUserMessageBase + 9,       // page window / 0
    WM_PAGE_REFRESH = kUserMessageBase + 10,     // 0 / 0
    WM_CHANNEL_LOST = kUserMessageBase + 98,     // 0 / 0; to the login dialog 0 / TTRspMsg (the reason)
    WM_STATUS_TEXT = kUserMessageBase + 99,      // kStatusConnectionLost or a sender's number / TTRspMsg
    WM_INIT_DATA_DONE = kUserMessageBase + 100,  // 0 / 0
    WM_LOGIN_RSP = kUserMessageBase + 101,       // TReqTraderLogin / TTRspMsg
    WM_YQ_QUOTATION = kUserMessageBase + 102,    // TYqQuotation / TTRspMsg
    WM_MEMBER_CAPITAL = kUserMessageBase + 103,  // TMemberCapital / TTRspMsg
    WM_CLIENT_POSI = kUserMessageBase + 104,     // TYqClientPosi / TTRspMsg
    WM_INST_INFO = kUserMessageBase + 105,       // TYuanQiInst / TTRspMsg
    WM_ORDER_RSP = kUserMessageBase + 106,       // TYqOrder / TTRspMsg
    WM_ORDER_RTN = kUserMessageBase + 107,       // TYqOrder / TTRspMsg
    WM_MATCH_RTN = kUserMessageBase + 108,       // TYqMatch / TTRspMsg
    WM_ORDER_CANCEL_RSP = kUserMessageBase + 109,  // TYqOrderCancel / TTRspMsg
    WM_QRY_RESULT = kUserMessageBase + 110,      // query record of the receiver's kind / TTRspMsg
    WM_PASSWORD_RSP = kUserMessageBase + 111,    // TReqTraderPasswordUpdate / TTRspMsg
};

// wParam of WM_STATUS_TEXT when the connection was lost (the number of WM_CHANNEL_LOST); any other
// value only asks for the text to be shown.
inline constexpr WParam kStatusConnectionLost = WM_CHANNEL_LOST;

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
