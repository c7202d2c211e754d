// The simulator's session lines: who logged in, and how a connection ended, in words.
#include <gtest/gtest.h>

#include "quorex/Text.h"
#include "sim/SessionLog.h"

namespace quorex::sim::test {
namespace {

TEST(SessionLogTest, LinesNameTheUserAndTheEndInWords) {
    const std::string trader = SessionUser("trader", "00010001");
    EXPECT_EQ(LoginLine(3, trader), "session 3: trader 00010001 logged in");
    EXPECT_EQ(EndLine(3, trader, 0x1001), "session 3: trader 00010001 ended: peer closed (0x1001)");
    EXPECT_EQ(EndLine(3, trader, 0), "session 3: trader 00010001 ended by the exchange");
    // A connection that never logged in has nobody to name.
    EXPECT_EQ(EndLine(7, "", 0x2003), "session 7: ended: bad frame (0x2003)");
    EXPECT_EQ(EndLine(7, "", 0x3001), "session 7: ended: bad package (0x3001)");
    EXPECT_EQ(EndLine(7, "", 0x2002), "session 7: ended: heartbeat failed (0x2002)");
    EXPECT_EQ(EndLine(7, "", 0x7777), "session 7: ended: unknown end (0x7777)");
}

TEST(SessionLogTest, GbkUserIdsArePrintedInUtf8) {
    EXPECT_EQ(SessionUser("monitor", Utf8ToGbk("管理员")), "monitor 管理员");
}

}  // namespace
}  // namespace quorex::sim::test
