// The client's window messages, the ones that remain messages: those the pages post to one another
// (and the tab control posts to them), and the main frame's status text. What the exchange tells
// the windows travels as typed events instead (TraderEvents.h). Numbers start at the user message
// base 1024 and are fixed. Unless a message says otherwise, wParam and lParam point to records
// that are valid only while the message is being handled, and the receiver copies what it keeps.
#pragma once

#include <cstdint>

#include "quorex/Records.h"

namespace kvt {

class CMessageTarget;

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

// What the parameter of each message that carries one points to, and whether it travels in wParam
// or lParam. Senders and receivers name the message, and the type follows from this one table, so
// no receiver chooses a type. A message not listed here carries no pointer.
template <unsigned Message>
struct CMessageParameter;
template <>
struct CMessageParameter<WM_SELECT_PAGE> {
    using Type = CMessageTarget;  // the page to bring to the front
    static constexpr bool kInWParam = true;
};
template <>
struct CMessageParameter<WM_STATUS_TEXT> {
    using Type = TTRspMsg;  // RspMsg is the text
    static constexpr bool kInWParam = false;
};
template <>
struct CMessageParameter<WM_ORDER_RTN> {
    using Type = TYqOrder;  // the 报单 page's copy, which outlives the message
    static constexpr bool kInWParam = true;
};

template <unsigned Message>
using MessageParameterType = typename CMessageParameter<Message>::Type;

// The message's parameter as a receiver reads it; null when the sender passed none.
template <unsigned Message>
const MessageParameterType<Message>* MessageParameter(WParam wParam, LParam lParam) {
    if constexpr (CMessageParameter<Message>::kInWParam) {
        return reinterpret_cast<const MessageParameterType<Message>*>(wParam);
    } else {
        return reinterpret_cast<const MessageParameterType<Message>*>(lParam);
    }
}

// The parameter as a sender passes it, in the place the message carries it.
template <unsigned Message>
WParam MessageWParam(const MessageParameterType<Message>* parameter) {
    static_assert(CMessageParameter<Message>::kInWParam);
    return reinterpret_cast<WParam>(parameter);
}
template <unsigned Message>
LParam MessageLParam(const MessageParameterType<Message>* parameter) {
    static_assert(!CMessageParameter<Message>::kInWParam);
    return reinterpret_cast<LParam>(parameter);
}

}  // namespace kvt
