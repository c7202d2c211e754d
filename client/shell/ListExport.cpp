// The lists as CSV files (see the header for the format).
#include "client/shell/ListExport.h"

#include <charconv>

#include "client/shell/ListRows.h"
#include "client/shell/Prompter.h"
#include "common/AtomicFile.h"

namespace kvt {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsNumber(std::string_view text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

void AppendCell(std::string& csv, std::string_view cell) {
    const bool formula = cell.size() > 1 && std::string_view("=+-@").find(cell.front()) != std::string_view::npos &&
                         !IsNumber(cell);
    const bool quoted = formula || cell.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted) csv += '"';
    if (formula) csv += '\'';
    for (char c : cell) {
        if (c == '"') csv += '"';
        csv += c;
    }
    if (quoted) csv += '"';
}

}  // namespace

std::string ListCsv(const CListRows& rows) {
    std::string csv(kByteOrderMark);
    const auto columns = rows.Columns();
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (column > 0) csv += ',';
        AppendCell(csv, columns[column].title);
    }
    csv += kLineEnd;
    for (int row = 0; row < rows.RowCount(); ++row) {
        for (std::size_t column = 0; column < columns.size(); ++column) {
            if (column > 0) csv += ',';
            AppendCell(csv, rows.DrawnText(row, static_cast<int>(column)));
        }
        csv += kLineEnd;
    }
    return csv;
}

std::string ProposedExportName(std::string_view pageTitle, std::time_t now) {
    std::tm local{};
    char date[16] = "";
    if (localtime_r(&now, &local) != nullptr) std::strftime(date, sizeof date, "%Y%m%d", &local);
    return std::string(pageTitle.empty() ? std::string_view("列表") : pageTitle) + '-' + date + ".csv";
}

CListExport::CListExport(CPrompter& prompter, NowFunction now) : m_prompter(prompter), m_now(std::move(now)) {}

void CListExport::Export(const CListRows& rows, std::string_view pageTitle) {
    const std::string path = m_prompter.ChooseSaveFile(ProposedExportName(pageTitle, m_now()), "导出");
    if (path.empty()) return;
    if (!quorex::files::ReplaceFile(path, ListCsv(rows))) {
        m_prompter.Inform("无法写入文件 " + path + "，列表没有导出。请检查目录是否存在、是否可写、磁盘是否已满。", "导出");
    }
}

}  // namespace kvt
