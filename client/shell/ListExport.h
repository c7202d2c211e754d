// A list saved as CSV, as a trader takes a list away to a spreadsheet: "导出…" in every list's
// context menu. The file is UTF-8 with a byte order mark (so spreadsheet programs read the
// Chinese), one line of column titles, then one line a row with the cells as the list shows them (the
// quotation marks ▲/▼ included), lines ended by CR LF, and a cell quoted where it holds a comma,
// a quote or a line break. A cell that a spreadsheet would take for a formula (a text from the
// exchange of more than one character, starting with '=', '+', '-' or '@' and not a number) is
// written with a leading apostrophe, so opening the file never runs anything.
//
// The name proposed is the page's title and the date, "报单-20261209.csv"; the file is replaced
// whole (a temporary file, synced and renamed), so a kill or a full disk leaves the old file or
// the new one, and a failure is said in a box.
//
// Thread contract: user interface thread only.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace kvt {

class CListRows;
class CPrompter;

inline constexpr std::string_view kExportMenuItem = "导出…";

std::string ListCsv(const CListRows& rows);
std::string ProposedExportName(std::string_view pageTitle, std::time_t now);

class CListExport {
public:
    using NowFunction = std::function<std::time_t()>;

    CListExport(CPrompter& prompter, NowFunction now);

    // Asks for the file, proposing the page's name, and writes the list to it.
    void Export(const CListRows& rows, std::string_view pageTitle);

private:
    CPrompter& m_prompter;
    const NowFunction m_now;
};

}  // namespace kvt
