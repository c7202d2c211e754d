#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "quorex/UserFiles.h"

using quorex::UserFileName;

namespace {

TEST(UserFileName, PlainIdsKeepTheNamesTheyHad) {
    EXPECT_EQ(UserFileName("t_private%s.dat", "00010001"), "t_private00010001.dat");
    EXPECT_EQ(UserFileName("A_CLOCK%s.dat", "admin001"), "A_CLOCKadmin001.dat");
    EXPECT_EQ(UserFileName("log%s.con", "Trader_1-b"), "logTrader_1-b.con");
    EXPECT_EQ(UserFileName("log%s.id", nullptr), "log.id");
    EXPECT_EQ(UserFileName("fixed.dat", "00010001"), "fixed.dat");
}

TEST(UserFileName, HostileIdsStayInTheDirectoryAndNeverShareAFile) {
    const std::vector<std::string> ids = {"a/b", "a\nb", "a\\b", "a_b", "a%2Fb", "a%b", "../x", "..", ".", "a b",
                                          "a\x7f" "b", "\xc2\xdd\xce\xc6", "a.b", "a%", "%", ""};
    std::set<std::string> names;
    for (const std::string& id : ids) {
        const std::string name = UserFileName("log%s.con", id.c_str());
        EXPECT_EQ(name.find('/'), std::string::npos) << name;
        EXPECT_EQ(name.find('\\'), std::string::npos) << name;
        for (const char c : name) EXPECT_TRUE(c > 0x20 && c < 0x7f) << "byte " << int(c) << " in " << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), ids.size());
    EXPECT_EQ(UserFileName("log%s.con", "a/b"), "loga%2Fb.con");
    EXPECT_EQ(UserFileName("log%s.con", "a%2Fb"), "loga%252Fb.con");
    EXPECT_EQ(UserFileName("%s", ".."), "%2E%2E");
}

}  // namespace
