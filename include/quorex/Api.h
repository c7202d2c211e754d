// The exported API classes. A client derives from CTraderApi (or CAdminApi), overrides the
// callbacks it wants, constructs the object, calls initApi (or init), registers servers with
// SetService and logs in. Request methods may be called from any thread, also from inside a
// callback; they only queue the request and return 0, or -1 without a session. Every callback
// runs on the object's reactor thread, one at a time; the pointers it gets are valid only during
// the call. No callback runs after the destructor has returned.
//
// The library's own diagnostics and error reports go to standard output unless the host installs
// a sink with quorex::SetLogSink(sink, context) (quorex/Log.h): the sink then gets each text with
// its level (kDiagnostic or kError) on the thread that reports it, often a reactor thread, and
// must not call back into the API; nullptr restores standard output, quorex::DiscardLog silences
// the library. Setting the sink is safe at any time from any thread.
#pragma once

#include "quorex/Export.h"
#include "quorex/Log.h"
#include "quorex/Records.h"

// N bytes and a terminating zero.
template <int N>
struct BYTEARRAY {
    char m_bytes[N + 1];
    char* data() { return m_bytes; }
    const char* data() const { return m_bytes; }
    static constexpr int size() { return N; }
};

namespace quorex {
struct CApiState;
}

class QUOREX_API CApi {
public:
    static constexpr int kMaxServers = 100;
    static constexpr int kMaxHostLength = 50;

    CApi();
    CApi(const CApi&) = delete;
    CApi& operator=(const CApi&) = delete;
    virtual ~CApi();

    // Creates the reactor and starts its thread: 0, or -1 (with the error printed) on failure.
    int initApi();
    // Stops the reactor thread and closes the session; no callback runs after it returns, and
    // requests return -1. The destructor does it too, but only after the destructors of derived
    // classes have run: a class whose callbacks use its own members calls stopApi() first in its
    // destructor. Idempotent.
    void stopApi();
    // Appends a server (host cut to 50 characters); login tries them in the order added. Calls
    // beyond the 100th are ignored.
    void SetService(const char* host, int port);
    // The trade date of the logged-in user as 8 characters and a zero; "" before any login.
    void GetTradeDate(char* out);
    // Kept for the smart-card feature, which this library does not have.
    void onRecvSafeOpError(void*) {}
    // For a host that hands the callbacks on to another thread in batches: end(context) is called
    // on the reactor thread after the last callback of each pass of the reactor that made any
    // (everything the connection had delivered that could be handled then, a day's replay
    // included), before the reactor waits for more. Null (the default) calls nothing. Set it
    // before initApi; end must not call back into the library.
    using CallbackBatchEnd = void (*)(void* context);
    void SetCallbackBatchEnd(CallbackBatchEnd end, void* context);

    // Slots 0 to 4.
    virtual void onChannelLost(const char* reason) { (void)reason; }
    virtual void onException(const char* text) { (void)text; }
    virtual void onRecvSysErrorNtf(const TTRspMsg* rsp) { (void)rsp; }
    virtual void onRecvReqSendOver() {}
    virtual void onRecvIcCardPwd(BYTEARRAY<32>& password, short first, short second) {
        (void)password, (void)first, (void)second;
    }
    // Slots 5 to 141.
#define QX_CALLBACK(slot, name, Record, ...) \
    virtual void name(const Record* record, const TTRspMsg* rsp, const char* requestId) { \
        (void)record, (void)rsp, (void)requestId;                                         \
    }
#include "quorex/callbacks.def"
#undef QX_CALLBACK

    struct TServiceAddress {
        char host[kMaxHostLength + 1];
        int port;
    };

protected:
    // The library's private state; the API's internals reach it through this pointer.
    quorex::CApiState* m_pState;

public:
    TServiceAddress m_Services[kMaxServers];
    // Number of servers in m_Services; a client may set it to 0 to empty the list.
    int m_nServerCount;

    friend struct quorex::CApiState;
};

// The requests of a trader terminal.
class QUOREX_API CTraderApi : public CApi {
public:
    using CApi::GetTradeDate;
    using CApi::onRecvIcCardPwd;

    // The most electronic indentures one ReqYqOrderEx carries beside its order: a package holds at
    // most 4096 bytes. A request with more is refused (-1) and nothing is sent.
    static constexpr int kMaxYqOrderIndentures = 121;

    int init() { return initApi(); }
    void GetTradeDate(BYTEARRAY<8>& out) { CApi::GetTradeDate(out.data()); }

    // Connects to the first server that answers and sends the login with the subscription points
    // of the private, member and market flows: 0, -1 when no server could be connected, -2 when
    // a session already exists.
    int ReqTraderLogin(const TReqTraderLogin* login, const char* requestId = nullptr);

    // The requests: 0 when queued, -1 without a session, without a record, or when a record does
    // not fit in the package.
#define QX_FOR_TRADER(...) __VA_ARGS__
#define QX_FOR_ADMIN(...)
#include "quorex/detail/RequestMethods.inc"

    // Kept for the smart-card feature: they do nothing and return 0.
    int ChgICPasswd(const char*, const char*) { return 0; }
    int PutSafeAck(void*, void*) { return 0; }

    // Slot 142.
    virtual void onRecvIcCardPwd(BYTEARRAY<32>& password, short& first, short second) {
        (void)password, (void)first, (void)second;
    }

    // The callbacks that concern a trader, declared again.
    void onChannelLost(const char* reason) override { (void)reason; }
    void onException(const char* text) override { (void)text; }
    void onRecvSysErrorNtf(const TTRspMsg* rsp) override { (void)rsp; }
    void onRecvReqSendOver() override {}
#define QX_FOR_TRADER(...) __VA_ARGS__
#define QX_FOR_ADMIN(...)
#include "quorex/detail/RedeclaredCallbacks.inc"
};

// The requests of a monitor (administrator) terminal.
class QUOREX_API CAdminApi : public CApi {
public:
    using CApi::GetTradeDate;

    int init() { return initApi(); }
    void GetTradeDate(BYTEARRAY<8>& out) { CApi::GetTradeDate(out.data()); }

    // The monitor's login: as ReqTraderLogin, with the administrator's files and package.
    int ReqUserLogin(const TReqUserLogin* login, const char* requestId = nullptr);

#define QX_FOR_TRADER(...)
#define QX_FOR_ADMIN(...) __VA_ARGS__
#include "quorex/detail/RequestMethods.inc"

    // The callbacks that concern a monitor, declared again.
    void onChannelLost(const char* reason) override { (void)reason; }
    void onException(const char* text) override { (void)text; }
    void onRecvSysErrorNtf(const TTRspMsg* rsp) override { (void)rsp; }
#define QX_FOR_TRADER(...)
#define QX_FOR_ADMIN(...) __VA_ARGS__
#include "quorex/detail/RedeclaredCallbacks.inc"
};
