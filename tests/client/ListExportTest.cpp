// Lists saved as CSV ("导出…"): the exact bytes, the proposed name, a cancelled choice, and a file
// that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "ClientTestSupport.h"
#include "ScratchFiles.h"
#include "client/shell/ListExport.h"
#include "client/shell/ListRows.h"

using namespace kvt;
using kvt::test::CScratchDirectory;
using kvt::test::FileBytes;

namespace {

// Two columns of given texts; the second column is drawn with a mark, as the quotation board does.
class CTextRows : public CListRows {
public:
    int RowCount() const override { return static_cast<int>(cells.size()); }
    std::span<const CListColumn> Columns() const override { return kColumns; }
    std::string CellText(int row, int column) const override {
        return cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    std::string DrawnText(int row, int column) const override {
        return column == 1 ? "▲" + CellText(row, column) : CellText(row, column);
    }

    static constexpr CListColumn kColumns[] = {{"品种名称", 80}, {"最新价", 60}};
    std::vector<std::array<std::string, 2>> cells;
};

std::time_t DemoDay() { return kvt::test::LocalTime(2026, 12, 9, 10, 0, 0); }

}  // namespace

TEST(ListExport, TheFileIsUtf8WithAMarkTheTitlesAndTheCellsAsShown) {
    CTextRows rows;
    rows.cells = {{"螺纹钢", "2350"}, {"a,b", "say \"hi\""}, {"=cmd|' /c calc'!A0", "-5.5"}, {"-", "+"}, {"two\nlines", ""}};
    EXPECT_EQ(ListCsv(rows),
              "\xEF\xBB\xBF"
              "品种名称,最新价\r\n"
              "螺纹钢,▲2350\r\n"
              "\"a,b\",\"▲say \"\"hi\"\"\"\r\n"
              "\"'=cmd|' /c calc'!A0\",▲-5.5\r\n"
              "-,▲+\r\n"
              "\"two\nlines\",▲\r\n");
    // A formula-like text in a drawn cell and a negative number in a plain one.
    CTextRows plain;
    plain.cells = {{"-740.50", "x"}, {"@SUM(A1)", "y"}};
    EXPECT_EQ(ListCsv(plain), "\xEF\xBB\xBF品种名称,最新价\r\n-740.50,▲x\r\n\"'@SUM(A1)\",▲y\r\n");
    EXPECT_EQ(ListCsv(CTextRows()), "\xEF\xBB\xBF品种名称,最新价\r\n");
}

TEST(ListExport, TheChosenFileIsWrittenWholeAndACancelWritesNothing) {
    const CScratchDirectory directory;
    CTextRows rows;
    rows.cells = {{"螺纹钢", "2350"}};
    kvt::test::CScriptedPrompter prompter;
    CListExport exporter(prompter, &DemoDay);

    exporter.Export(rows, "行情");  // cancelled: savePath is ""
    ASSERT_EQ(prompter.saveBoxes.size(), 1u);
    EXPECT_EQ(prompter.saveBoxes[0].text, "行情-20261209.csv");
    EXPECT_EQ(prompter.saveBoxes[0].caption, "导出");
    EXPECT_TRUE(std::filesystem::is_empty(directory.Path()));

    prompter.savePath = directory.Name() + "/行情-20261209.csv";
    kvt::test::WriteBytes(prompter.savePath, "an older export that is replaced whole");
    exporter.Export(rows, "行情");
    EXPECT_EQ(FileBytes(prompter.savePath), ListCsv(rows));
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(ProposedExportName("", DemoDay()), "列表-20261209.csv");
}

TEST(ListExport, AFileThatCannotBeWrittenIsSaidAndLeavesNothingBehind) {
    const CScratchDirectory directory;
    CTextRows rows;
    kvt::test::CScriptedPrompter prompter;
    CListExport exporter(prompter, &DemoDay);
    prompter.savePath = directory.Name() + "/no-such-directory/报单.csv";
    exporter.Export(rows, "报单");
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_FALSE(prompter.boxes[0].question);
    EXPECT_EQ(prompter.boxes[0].caption, "导出");
    EXPECT_NE(prompter.boxes[0].text.find(prompter.savePath), std::string::npos) << prompter.boxes[0].text;
    EXPECT_TRUE(std::filesystem::is_empty(directory.Path()));
}
