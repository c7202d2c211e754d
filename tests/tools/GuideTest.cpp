// The guide shows the first program as it is: docs/guide.md quotes docs/first_program.cpp, the
// file the build compiles, the tests run and the package installs, word for word.
#include <gtest/gtest.h>

#include <string>

#include "api/SourceTree.h"

namespace {

TEST(Guide, QuotesTheFirstProgramWordForWord) {
    const std::filesystem::path docs = quorex::test::SourceTreeOf(__FILE__) / "docs";
    const std::string program = quorex::test::FileText(docs / "first_program.cpp");
    const std::string guide = quorex::test::FileText(docs / "guide.md");
    ASSERT_NE(program, "") << docs;
    ASSERT_NE(guide, "") << docs;
    EXPECT_NE(guide.find("\n```cpp\n" + program + "```\n"), std::string::npos)
        << "docs/guide.md no longer quotes docs/first_program.cpp as it is: copy the file into its ```cpp block";
}

}  // namespace
