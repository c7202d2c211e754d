// What every window of the client works with: the API object (login state, registry, instrument
// names), the requests, the message bridge, the status line, message boxes and timers. Built once
// by the application; the windows keep the references.
#pragma once

namespace kvt {

class CClientApi;
class CExchangeRequests;
class CMessageBridge;
class CPrompter;
class CStatusLine;
class CTimers;

struct CClientServices {
    CClientApi& api;
    CExchangeRequests& requests;
    CMessageBridge& bridge;
    CStatusLine& status;
    CPrompter& prompter;
    CTimers& timers;
};

}  // namespace kvt
