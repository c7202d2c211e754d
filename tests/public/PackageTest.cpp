#include <gtest/gtest.h>

#include <cstring>

#include "public/Package.h"

using namespace quorex;

TEST(Package, WindowMovesOnlyWithinTheBlock) {
    CPackage package;
    EXPECT_EQ(package.Prepend(1), nullptr);  // no block
    package.Allocate(16);
    EXPECT_EQ(package.Headroom(), 16u);
    ASSERT_NE(package.Prepend(10), nullptr);
    EXPECT_EQ(package.Prepend(7), nullptr);
    EXPECT_EQ(package.Length(), 10u);
    EXPECT_FALSE(package.Pop(11));
    EXPECT_TRUE(package.Pop(4));
    EXPECT_EQ(package.Length(), 6u);
    EXPECT_FALSE(package.Truncate(7));
    EXPECT_TRUE(package.Truncate(2));
    EXPECT_EQ(package.Length(), 2u);
}

TEST(Package, ViewsShareTheBlockUntilTheLastOneGoes) {
    auto* owner = new CPackage;
    owner->Assign("abcdef", 6);
    CPackage view;
    view.ViewOf(*owner);
    EXPECT_TRUE(owner->IsBlockShared());
    delete owner;  // the block lives on in the view
    EXPECT_FALSE(view.IsBlockShared());
    EXPECT_EQ(std::memcmp(view.Address(), "abcdef", 6), 0);
    view.ViewOf(view);  // viewing itself keeps the block
    EXPECT_EQ(view.Length(), 6u);
    view.Release();
    EXPECT_EQ(view.Length(), 0u);
    EXPECT_FALSE(view.HasBlock());
}

TEST(Package, AssignReusesAnUnsharedBlockAndNeverWritesIntoASharedOne) {
    CPackage package;
    package.Assign("0123456789", 10);
    const std::uint8_t* block = package.Address();
    package.Assign("xyz", 3);
    EXPECT_EQ(package.Address(), block + 7);  // same block, bytes placed at its end
    CPackage view;
    view.ViewOf(package);
    package.Assign("uvw", 3);
    EXPECT_EQ(std::memcmp(view.Address(), "xyz", 3), 0);
}
