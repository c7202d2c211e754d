// The public umbrella header must compile on its own, before anything else is included.
#include "quorex/quorex.h"

#include <gtest/gtest.h>

TEST(UmbrellaHeader, DeclaresTheRecordsWithTheirPublicLayout) {
    TYqOrder order{};
    order.price = 1.5;
    TTRspMsg response{};
    response.ChainFlag = 'L';
    EXPECT_EQ(sizeof order, 128u);
    EXPECT_EQ(sizeof response.RspCode, 21u);
    EXPECT_EQ(CRuntimeError("m", "f", 3).GetLine(), 3);
}
