// A first program with quorex: logs in as the demo day's trader, prints the reference data and
// what the market flow brings, asks for the whole quotation board once the standard data is
// complete, and logs out. docs/guide.md walks through it.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <quorex/quorex.h>

// The callbacks run on the API object's own reactor thread, one at a time; main waits on `m_done`.
class FirstTrader : public CTraderApi {
public:
    ~FirstTrader() override { stopApi(); }  // no callback may run while the members below go

    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char*) override {
        std::printf("login: %s %s, trade date %s\n", rsp->RspCode, quorex::TextOf(rsp->RspMsg).c_str(),
                    login->tradeDate);
        if (std::strcmp(rsp->RspCode, "RSP000000") != 0) Finish(false);
    }
    // Reference data: one call per instrument, before the standard data is complete.
    void onRecvYuanQiInstInfo(const TYuanQiInst* inst, const TTRspMsg*, const char*) override {
        if (inst) std::printf("instrument %s %s\n", inst->instID, quorex::TextOf(inst->yqName).c_str());
    }
    // The market flow: a quotation comes only for an instrument with activity (an order, a match).
    void onRecvYqQuotation(const TYqQuotation* q, const TTRspMsg*, const char*) override {
        if (q) std::printf("market flow: %s last %.2f volume %d\n", q->instID, q->lastest, q->volume);
    }
    // The standard data is complete: now ask for the whole board, every instrument.
    void onRecvReqSendOver() override {
        TReqQryQuotation everything{};
        ReqQryYqQuotation(&everything);
    }
    void onRecvRspQryYqQuotation(const TYqQuotation* q, const TTRspMsg* rsp, const char*) override {
        if (q) std::printf("board: %s last %.2f bid %.2f ask %.2f\n", q->instID, q->lastest, q->bid1, q->ask1);
        if (rsp->ChainFlag != 'C') Finish(std::strcmp(rsp->RspCode, "RSP000000") == 0);  // 'L' last, 'O' none
    }
    // The exchange closes the connection after answering a logout, and whenever it ends a session.
    void onChannelLost(const char*) override {
        std::lock_guard lock(m_mutex);
        m_connected = false;
        m_changed.notify_all();
    }

    // True when the board arrived within the limit.
    bool WaitForTheBoard(std::chrono::seconds limit) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return m_done || !m_connected; }) && m_succeeded;
    }
    void WaitForTheEnd(std::chrono::seconds limit) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, limit, [&] { return !m_connected; });
    }

private:
    void Finish(bool succeeded) {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_succeeded = succeeded;
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_done = false;
    bool m_succeeded = false;
    bool m_connected = true;
};

int main(int argc, char** argv) {
    char* end = nullptr;
    const long port = argc == 2 ? std::strtol(argv[1], &end, 10) : 6669;
    if (argc > 2 || (argc == 2 && (*end != '\0' || port < 1 || port > 65535))) {
        std::fprintf(stderr, "usage: first_program [PORT]   (the exchange on 127.0.0.1, default port 6669)\n");
        return 2;
    }
    // The library's own diagnostics ("ChannelLost  ErrorCode=4097" after every logout, for one)
    // would go to standard output; this program says in its own words what happened.
    quorex::SetLogSink(quorex::DiscardLog, nullptr);

    FirstTrader trader;
    if (trader.initApi() != 0) return 1;
    trader.SetService("127.0.0.1", static_cast<int>(port));
    TReqTraderLogin login{};  // the library sets the trade date and sends the other members as zero
    quorex::SetText(login.traderID, "00010001");
    quorex::SetText(login.memberID, "0001");
    quorex::SetText(login.password, quorex::PasswordDigest("trader1"));
    quorex::SetText(login.ipAddress, "127.0.0.1");
    if (trader.ReqTraderLogin(&login) != 0) {
        std::fprintf(stderr, "cannot connect to 127.0.0.1:%ld: is the exchange running?\n", port);
        return 1;
    }
    if (!trader.WaitForTheBoard(std::chrono::seconds(10))) {
        std::fprintf(stderr, "no board: the login was refused, or the exchange did not answer in time\n");
        return 1;
    }

    TReqTraderLogout logout{};
    quorex::SetText(logout.traderID, "00010001");
    quorex::SetText(logout.memberID, "0001");
    trader.ReqTraderLogout(&logout);
    trader.WaitForTheEnd(std::chrono::seconds(10));
    std::printf("logged out\n");
    return 0;
}
