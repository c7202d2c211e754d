// The callback and request tables checked row by row against lists typed out here, apart from the
// tables: a wrong slot, name or package type in callbacks.def or requests.def fails a test, which
// a check that expands the tables themselves cannot do.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace {

struct TCallbackRow {
    int slot;
    std::string_view name;
    std::uint32_t tid;
};

// Slot, callback and the package type it receives, slots 5 to 141.
constexpr TCallbackRow kCallbacks[] = {
    {5, "onRecvRspTraderLogin", 0x00000012},
    {6, "onRecvRspTraderLogout", 0x00000022},
    {7, "onRecvRspYqOrder", 0x000000F2},
    {8, "onRecvRtnYqOrder", 0x00000033},
    {9, "onRecvRspYqOrderCancel", 0x00000102},
    {10, "onRecvRtnYqOrderCancel", 0x00000113},
    {11, "onRecvRtnYqMatch", 0x00000133},
    {12, "onRecvYqQuotation", 0x00000143},
    {13, "onRecvRspZcOrder", 0x00000152},
    {14, "onRecvRtnZcOrder", 0x00000163},
    {15, "onRecvRspZcOrderCancel", 0x00000172},
    {16, "onRecvRtnZcOrderCancel", 0x00000183},
    {17, "onRecvRtnZcMatch", 0x000001A3},
    {18, "onRecvZcQuotation", 0x000001B3},
    {19, "onRecvRspGpOrder", 0x000001C2},
    {20, "onRecvRtnGpOrder", 0x000001D3},
    {21, "onRecvRspGpOrderCancel", 0x000001E2},
    {22, "onRecvRtnGpOrderCancel", 0x000001F3},
    {23, "onRecvRspGpBuy", 0x00000202},
    {24, "onRecvRtnGpMatch", 0x00000213},
    {25, "onRecvGpQuotation", 0x00000043},
    {26, "onRecvRspGpPreOrder", 0x00000222},
    {27, "onRecvRtnGpPreOrder", 0x00000233},
    {28, "onRecvRspGpPreOrderCancel", 0x00000242},
    {29, "onRecvRtnGpPreOrderCancel", 0x00000253},
    {30, "onRecvRspGpPreOrderSure", 0x00000262},
    {31, "onRecvRspTraderPasswordUpdate", 0x00000272},
    {32, "onRecvRspYqKeepContract", 0x00000292},
    {33, "onRecvRspYqBuyDelvryAppOrder", 0x000002A2},
    {34, "onRecvRtnYqBuyDelvryAppOrder", 0x000002B3},
    {35, "onRecvRspYqBuyDelvryAppOrderCancel", 0x000002C2},
    {36, "onRecvRtnYqBuyDelvryAppOrderCancel", 0x000002D3},
    {37, "onRecvRspQryMemberCapital", 0x000002E2},
    {38, "onRecvRspQryElctIndenture", 0x000002F2},
    {39, "onRecvRspQryYqOrder", 0x00000302},
    {40, "onRecvRspQryZcOrder", 0x00000312},
    {41, "onRecvRspQryYqBuyDelvryAppOrder", 0x00000322},
    {42, "onRecvRspQryGpOrder", 0x00000332},
    {43, "onRecvRspQryGpPreOrder", 0x00000342},
    {44, "onRecvRspQryYqMatch", 0x00000352},
    {45, "onRecvRspQryZcMatch", 0x00000362},
    {46, "onRecvRspQryGpMatch", 0x00000372},
    {47, "onRecvRspQryYqQuotation", 0x00000382},
    {48, "onRecvRspQryYqLastQuotation", 0x00000392},
    {49, "onRecvRspQryZcQuotation", 0x000003A2},
    {50, "onRecvRspQryZcLastQuotation", 0x000003B2},
    {51, "onRecvRspQryYqMemberPosi", 0x000003C2},
    {52, "onRecvRspQryZcMemberPosi", 0x000003D2},
    {53, "onRecvRspQryGpQuotation", 0x000003E2},
    {54, "onRecvRspQryYqClientPosi", 0x000003F2},
    {55, "onRecvRspQryZcClientPosi", 0x00000402},
    {56, "onRecvRspQryGpClientPosi", 0x00000412},
    {57, "onRecvRspQryTradeBulletinBoard", 0x00000422},
    {58, "onRecvRspQryMemberIntegrateInfo", 0x00000432},
    {59, "onRecvExchangeStateUpdate", 0x00000463},
    {60, "onRecvMarketStateUpdate", 0x00000473},
    {61, "onRecvYqInstStateUpdate", 0x00000483},
    {62, "onRecvZcInstStateUpdate", 0x000009D3},
    {63, "onRecvGpInstStateUpdate", 0x00000493},
    {64, "onRecvTradeBulletinBoard", 0x000004F3},
    {65, "onRecvFrznYqClientPosi", 0x00000503},
    {66, "onRecvMeltYqClientPosi", 0x00000513},
    {67, "onRecvFrznZcClientPosi", 0x00000523},
    {68, "onRecvMeltZcClientPosi", 0x00000533},
    {69, "onRecvRtnForceYqOrder", 0x00000553},
    {70, "onRecvRtnForceZcOrder", 0x00000573},
    {71, "onRecvRspQryDeliInst", 0x000009B2},
    {72, "onRecvRspQryInstRate", 0x000009C2},
    {73, "onRecvMinsYqQuotation", 0x00000A33},
    {74, "onRecvMinsZcQuotation", 0x00000A43},
    {75, "onRecvRspQryMinsYqQuotation", 0x00000A52},
    {76, "onRecvRspQryMinsZcQuotation", 0x00000A62},
    {77, "onRecvMarketInfo", 0x000009F3},
    {78, "onRecvYuanQiInstInfo", 0x00000A03},
    {79, "onRecvZhuanChangInstInfo", 0x00000A13},
    {80, "onRecvGuaPaiInstInfo", 0x00000A23},
    {81, "onRecvVarietyInfo", 0x00000A73},
    {82, "onRecvSteelNumberInfo", 0x00000A83},
    {83, "onRecvSpecInfo", 0x00000A93},
    {84, "onRecvCategoryInfo", 0x00000AA3},
    {85, "onRecvCommodityInfo", 0x00000AB3},
    {86, "onRecvFactoryInfo", 0x00000AC3},
    {87, "onRecvRegionInfo", 0x00000AD3},
    {88, "onRecvWarehouseInfo", 0x00000AE3},
    {89, "onRecvStandardInfo", 0x00000AF3},
    {90, "onRecvAreaInfo", 0x00000D43},
    {91, "onRecvAreaRegionInfo", 0x00000D53},
    {92, "onRecvGpOrderUnMatchInfo", 0x00000D33},
    {93, "onRecvInstRateInfo", 0x00001013},
    {94, "onRecvGpInstRateInfo", 0x00001003},
    {95, "onRecvDeliInstInfo", 0x00001023},
    {96, "onRecvGpDeliInstInfo", 0x00001033},
    {97, "onRecvRspQryYqInstElctIndent", 0x00000B42},
    {98, "onRecvRspQryZcInstElctIndent", 0x00000B82},
    {99, "onRecvRspQryGpInstElctIndent", 0x00000B92},
    {100, "onRecvMinQuotationControl", 0x00000BC3},
    {101, "onRecvZcCloseQuotation", 0x00000C63},
    {102, "onRecvYqCloseQuotation", 0x00000C73},
    {103, "onRecvRspDelGpOrderUnMatch", 0x00001D72},
    {104, "onRecvRtnGpOrderUnMatch", 0x00001D83},
    {105, "onRecvRspUserLogin", 0x00000442},
    {106, "onRecvRspUserLogout", 0x00000452},
    {107, "onRecvRspExchangeStateUpdate", 0x00000462},
    {108, "onRecvRspMarketeStateUpdate", 0x00000472},
    {109, "onRecvRspYqInstStateUpdate", 0x00000482},
    {110, "onRecvRspZcInstStateUpdate", 0x000009D2},
    {111, "onRecvRspGpInstStateUpdate", 0x00000492},
    {112, "onRecvRspQryExchangeState", 0x000004A2},
    {113, "onRecvRspQryMarketState", 0x000009E2},
    {114, "onRecvRspQryYqInstState", 0x000004B2},
    {115, "onRecvRspQryZcInstState", 0x000004C2},
    {116, "onRecvRspQryGpInstState", 0x000004D2},
    {117, "onRecvRspQryTrader", 0x000004E2},
    {118, "onRecvRspTradeBulletinBoard", 0x000004F2},
    {119, "onRecvRspFrznYqClientPosi", 0x00000502},
    {120, "onRecvRspMeltYqClientPosi", 0x00000512},
    {121, "onRecvRspFrznZcClientPosi", 0x00000522},
    {122, "onRecvRspMeltZcClientPosi", 0x00000532},
    {123, "onRecvRspForceYqOrder", 0x00000542},
    {124, "onRecvRspForceZcOrder", 0x00000562},
    {125, "onRecvRspForceTraderLogout", 0x00000582},
    {126, "onRecvRspForceYqOrderCancel", 0x00000592},
    {127, "onRecvRspForceZcOrderCancel", 0x000005A2},
    {128, "onRecvRspQryYqPosiIncrement", 0x00000B52},
    {129, "onRecvRspQryYqMaxPosiIncrement", 0x00000B62},
    {130, "onRecvRspQryZcPosiIncrement", 0x00000BA2},
    {131, "onRecvRspQryZcMaxPosiIncrement", 0x00000BB2},
    {132, "onRecvRspQryBalanceIncrement", 0x00000B72},
    {133, "onRecvRspOrderForceCancel", 0x00000BD2},
    {134, "onRecvRspQryYqOrder4M", 0x00000BE2},
    {135, "onRecvRspQryYqMatch4M", 0x00000BF2},
    {136, "onRecvRspQryZcOrder4M", 0x00000C02},
    {137, "onRecvRspQryZcMatch4M", 0x00000C12},
    {138, "onRecvRspQryGpOrder4M", 0x00000C22},
    {139, "onRecvRspQryGpMatch4M", 0x00000C32},
    {140, "onRecvRspQryGpPreOrder4M", 0x00000C42},
    {141, "onRecvRspUserPasswordUpdate", 0x00000C52},
};

struct TRequestRow {
    std::string_view method;
    std::uint32_t tid;
};

// Request method and the package type it sends (a method of both API classes is listed once per
// class); the two logins are methods of their own, not rows of the table.
constexpr TRequestRow kRequests[] = {
    {"ReqTraderLogin", 0x00000011},
    {"ReqDelGpOrderUnMatch", 0x00001D71},
    {"ReqGpBuy", 0x00000201},
    {"ReqGpBuyEx", 0x00000201},
    {"ReqGpOrder", 0x000001C1},
    {"ReqGpOrderCancel", 0x000001E1},
    {"ReqGpOrderEx", 0x000001C1},
    {"ReqGpPreOrder", 0x00000221},
    {"ReqGpPreOrderCancel", 0x00000241},
    {"ReqGpPreOrderSure", 0x00000261},
    {"ReqQryDeliInst", 0x000009B1},
    {"ReqQryElctIndenture", 0x000002F1},
    {"ReqQryGpClientPosi", 0x00000411},
    {"ReqQryGpInstElctIndent", 0x00000B91},
    {"ReqQryGpMatch", 0x00000371},
    {"ReqQryGpOrder", 0x00000331},
    {"ReqQryGpPreOrder", 0x00000341},
    {"ReqQryGpQuotation", 0x000003E1},
    {"ReqQryInstRate", 0x000009C1},
    {"ReqQryMemberCapital", 0x000002E1},
    {"ReqQryMemberIntegrateInfo", 0x00000431},
    {"ReqQryMinsYqQuotation", 0x00000A51},
    {"ReqQryMinsZcQuotation", 0x00000A61},
    {"ReqQryTradeBulletinBoard", 0x00000421},
    {"ReqQryYqBuyDelvryAppOrder", 0x00000321},
    {"ReqQryYqClientPosi", 0x000003F1},
    {"ReqQryYqInstElctIndent", 0x00000B41},
    {"ReqQryYqLastQuotation", 0x00000391},
    {"ReqQryYqMatch", 0x00000351},
    {"ReqQryYqMemberPosi", 0x000003C1},
    {"ReqQryYqOrder", 0x00000301},
    {"ReqQryYqQuotation", 0x00000381},
    {"ReqQryZcClientPosi", 0x00000401},
    {"ReqQryZcInstElctIndent", 0x00000B81},
    {"ReqQryZcLastQuotation", 0x000003B1},
    {"ReqQryZcMatch", 0x00000361},
    {"ReqQryZcMemberPosi", 0x000003D1},
    {"ReqQryZcOrder", 0x00000311},
    {"ReqQryZcQuotation", 0x000003A1},
    {"ReqTraderLogout", 0x00000021},
    {"ReqTraderPasswordUpdate", 0x00000271},
    {"ReqYqBuyDelvryAppOrder", 0x000002A1},
    {"ReqYqBuyDelvryAppOrderCancel", 0x000002C1},
    {"ReqYqKeepContract", 0x00000291},
    {"ReqYqOrder", 0x000000F1},
    {"ReqYqOrderCancel", 0x00000101},
    {"ReqYqOrderEx", 0x000000F1},
    {"ReqZcOrder", 0x00000151},
    {"ReqZcOrderCancel", 0x00000171},
    {"ReqZcOrderEx", 0x00000151},
    {"ReqUserLogin", 0x00000441},
    {"ReqExchangeStateUpdate", 0x00000461},
    {"ReqForceTraderLogout", 0x00000581},
    {"ReqForceYqOrder", 0x00000541},
    {"ReqForceYqOrderCancel", 0x00000591},
    {"ReqForceZcOrder", 0x00000561},
    {"ReqForceZcOrderCancel", 0x000005A1},
    {"ReqFrznYqClientPosi", 0x00000501},
    {"ReqFrznZcClientPosi", 0x00000521},
    {"ReqGpInstStateUpdate", 0x00000491},
    {"ReqMarketStateUpdate", 0x00000471},
    {"ReqMeltYqClientPosi", 0x00000511},
    {"ReqMeltZcClientPosi", 0x00000531},
    {"ReqOrderForceCancel", 0x00000BD1},
    {"ReqQryBalanceIncrement", 0x00000B71},
    {"ReqQryDeliInst", 0x000009B1},
    {"ReqQryElctIndenture", 0x000002F1},
    {"ReqQryExchangeState", 0x000004A1},
    {"ReqQryGpClientPosi", 0x00000411},
    {"ReqQryGpInstState", 0x000004D1},
    {"ReqQryGpMatch4M", 0x00000C31},
    {"ReqQryGpMatch", 0x00000371},
    {"ReqQryGpOrder4M", 0x00000C21},
    {"ReqQryGpOrder", 0x00000331},
    {"ReqQryGpPreOrder4M", 0x00000C41},
    {"ReqQryGpPreOrder", 0x00000341},
    {"ReqQryGpQuotation", 0x000003E1},
    {"ReqQryInstRate", 0x000009C1},
    {"ReqQryMarketState", 0x000009E1},
    {"ReqQryMemberCapital", 0x000002E1},
    {"ReqQryMemberIntegrateInfo", 0x00000431},
    {"ReqQryMinsYqQuotation", 0x00000A51},
    {"ReqQryMinsZcQuotation", 0x00000A61},
    {"ReqQryTradeBulletinBoard", 0x00000421},
    {"ReqQryTrader", 0x000004E1},
    {"ReqQryYqBuyDelvryAppOrder", 0x00000321},
    {"ReqQryYqClientPosi", 0x000003F1},
    {"ReqQryYqInstState", 0x000004B1},
    {"ReqQryYqLastQuotation", 0x00000391},
    {"ReqQryYqMatch4M", 0x00000BF1},
    {"ReqQryYqMatch", 0x00000351},
    {"ReqQryYqMaxPosiIncrement", 0x00000B61},
    {"ReqQryYqMemberPosi", 0x000003C1},
    {"ReqQryYqOrder4M", 0x00000BE1},
    {"ReqQryYqOrder", 0x00000301},
    {"ReqQryYqPosiIncrement", 0x00000B51},
    {"ReqQryYqQuotation", 0x00000381},
    {"ReqQryZcClientPosi", 0x00000401},
    {"ReqQryZcInstState", 0x000004C1},
    {"ReqQryZcLastQuotation", 0x000003B1},
    {"ReqQryZcMatch4M", 0x00000C11},
    {"ReqQryZcMatch", 0x00000361},
    {"ReqQryZcMaxPosiIncrement", 0x00000BB1},
    {"ReqQryZcMemberPosi", 0x000003D1},
    {"ReqQryZcOrder4M", 0x00000C01},
    {"ReqQryZcOrder", 0x00000311},
    {"ReqQryZcPosiIncrement", 0x00000BA1},
    {"ReqQryZcQuotation", 0x000003A1},
    {"ReqTradeBulletinBoard", 0x000004F1},
    {"ReqUserLogout", 0x00000451},
    {"ReqUserPasswordUpdate", 0x00000C51},
    {"ReqYqInstStateUpdate", 0x00000481},
    {"ReqZcInstStateUpdate", 0x000009D1},
};

// The table's rows as data, compared with the typed-out list in a loop.
constexpr TCallbackRow kTableRows[] = {
#define QX_CALLBACK(Slot, Name, Record, Tid, kind, by) {Slot, #Name, static_cast<std::uint32_t>(Tid)},
#include "quorex/callbacks.def"
#undef QX_CALLBACK
};

TEST(ApiTableRows, TheCallbackTableIsTheTypedOutList) {
    ASSERT_EQ(std::size(kTableRows), std::size(kCallbacks));
    for (std::size_t row = 0; row < std::size(kTableRows); ++row) {
        const TCallbackRow& table = kTableRows[row];
        EXPECT_EQ(table.slot, kCallbacks[row].slot) << table.name;
        EXPECT_EQ(table.name, kCallbacks[row].name) << "slot " << table.slot;
        EXPECT_EQ(table.tid, kCallbacks[row].tid) << std::hex << table.name;
    }
    EXPECT_EQ(std::size(kTableRows), 137u);
}

TEST(ApiTableRows, EveryRequestSendsTheTypedOutPackageType) {
    std::map<std::string_view, std::uint32_t> typed;
    for (const TRequestRow& request : kRequests) typed.emplace(request.method, request.tid);
    std::set<std::string_view> inTable = {"ReqTraderLogin", "ReqUserLogin"};
    int rows = 0;
    const auto check = [&](std::string_view method, std::uint32_t tid) {
        ++rows;
        inTable.insert(method);
        const auto found = typed.find(method);
        ASSERT_NE(found, typed.end()) << method;
        EXPECT_EQ(tid, found->second) << std::hex << method;
    };
#define QX_REQUEST(cls, Method, Tid, ...) check(#Method, Tid);
#define QX_REQUEST_PAIR QX_REQUEST
#define QX_REQUEST_LIST QX_REQUEST
#include "quorex/requests.def"
#undef QX_REQUEST
#undef QX_REQUEST_PAIR
#undef QX_REQUEST_LIST
    EXPECT_EQ(rows, 111);
    for (const TRequestRow& request : kRequests) EXPECT_TRUE(inTable.count(request.method)) << request.method << " has no row";
}

}  // namespace
