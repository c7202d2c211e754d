// KvtTrade.ini: the kept column widths and splitter position, and what a damaged file gives.
#include <gtest/gtest.h>

#include "ScratchFiles.h"
#include "client/shell/LayoutSettings.h"

using namespace kvt;
using kvt::test::CScratchDirectory;

TEST(LayoutSettings, WidthsAndTheSplitterGoRoundThroughTheFile) {
    const CScratchDirectory directory;
    const std::string path = directory.Name() + "/KvtTrade.ini";
    CLayoutSettings settings;
    settings.splitter = 212;
    settings.columnWidths["报单"] = {24, 70, 60};
    settings.columnWidths["行情"] = {80};
    ASSERT_TRUE(WriteLayoutSettings(path, settings));
    EXPECT_EQ(kvt::test::FileBytes(path), "splitter=212\ncolumns.报单=24,70,60\ncolumns.行情=80\n");
    const CLayoutSettings read = ReadLayoutSettings(path);
    EXPECT_EQ(read.splitter, 212);
    EXPECT_EQ(read.columnWidths, settings.columnWidths);
    EXPECT_EQ(read.WidthsFor("报单", 3), (std::vector<int>{24, 70, 60}));
    // Another version of the list (another column count) gets its own widths.
    EXPECT_FALSE(read.WidthsFor("报单", 4));
    EXPECT_FALSE(read.WidthsFor("资金", 3));
}

TEST(LayoutSettings, DamagedLinesAreSkippedAndAMissingFileIsTheBuiltInLayout) {
    const CLayoutSettings read = DecodeLayoutSettings(
        "splitter=0\r\ncolumns.报单=24,,60\ncolumns.成交单=10,5000\ncolumns.=1\nnonsense\n"
        "columns.行情=30,40\r\nunknown=1\ncolumns.资金=7,-1\ncolumns.订货量=99999999999\ncolumns.电子货单=5,6");
    EXPECT_FALSE(read.splitter);
    EXPECT_EQ(read.columnWidths, (std::map<std::string, std::vector<int>>{{"行情", {30, 40}}, {"电子货单", {5, 6}}}));
    const CScratchDirectory directory;
    const CLayoutSettings missing = ReadLayoutSettings(directory.Name() + "/KvtTrade.ini");
    EXPECT_FALSE(missing.splitter);
    EXPECT_TRUE(missing.columnWidths.empty());
    // A directory that cannot take the file leaves nothing behind.
    EXPECT_FALSE(WriteLayoutSettings(directory.Name() + "/missing/KvtTrade.ini", CLayoutSettings()));
    EXPECT_TRUE(std::filesystem::is_empty(directory.Path()));
}
