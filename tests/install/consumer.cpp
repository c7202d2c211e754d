// Derives from the installed API classes, fills a record through the umbrella header alone and
// prints the first record size; exit 0 on success.
#include <cstdio>

#include <quorex/quorex.h>

class Trader : public CTraderApi {
public:
    ~Trader() override { stopApi(); }
    void onRecvRtnYqOrder(const TYqOrder*, const TTRspMsg*, const char*) override {}
};

int main() {
    quorex::SetLogSink(quorex::DiscardLog, nullptr);
    Trader trader;
    if (trader.initApi() != 0) return 1;
    TYqOrder order{};
    quorex::SetText(order.instID, "000001");
    std::printf("quorex %s: sizeof(TYqOrder)=%zu, request without login: %d\n", QUOREX_VERSION, sizeof order,
                trader.ReqYqOrderEx(&order, nullptr));
    return sizeof order == 128 && quorex::TextOf(order.instID) == "000001" ? 0 : 1;
}
