// KvtTrade.ini: the kept column widths and splitter position (see the header for the format).
#include "client/shell/LayoutSettings.h"

#include "client/shell/DisplayFormats.h"
#include "common/AtomicFile.h"

namespace kvt {

namespace {

constexpr std::string_view kSplitterKey = "splitter";
constexpr std::string_view kColumnsPrefix = "columns.";

std::optional<int> Width(std::string_view text) {
    const std::optional<int> value = ParseExactInt(text);
    if (!value || *value < 1 || *value > CLayoutSettings::kMaxWidth) return std::nullopt;
    return value;
}

std::optional<std::vector<int>> Widths(std::string_view text) {
    std::vector<int> widths;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::optional<int> width = Width(text.substr(0, comma));
        if (!width) return std::nullopt;
        widths.push_back(*width);
        if (comma == std::string_view::npos) return widths;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

std::optional<std::vector<int>> CLayoutSettings::WidthsFor(const std::string& pageTitle,
                                                           std::size_t columnCount) const {
    const auto kept = columnWidths.find(pageTitle);
    if (kept == columnWidths.end() || kept->second.size() != columnCount) return std::nullopt;
    return kept->second;
}

std::string EncodeLayoutSettings(const CLayoutSettings& settings) {
    std::string text;
    if (settings.splitter) text += std::string(kSplitterKey) + '=' + std::to_string(*settings.splitter) + '\n';
    for (const auto& [title, widths] : settings.columnWidths) {
        text += std::string(kColumnsPrefix) + title + '=';
        for (std::size_t i = 0; i < widths.size(); ++i) text += (i > 0 ? "," : "") + std::to_string(widths[i]);
        text += '\n';
    }
    return text;
}

CLayoutSettings DecodeLayoutSettings(std::string_view text) {
    CLayoutSettings settings;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == kSplitterKey) {
            if (const std::optional<int> height = Width(value)) settings.splitter = *height;
        } else if (key.size() > kColumnsPrefix.size() && key.substr(0, kColumnsPrefix.size()) == kColumnsPrefix) {
            if (std::optional<std::vector<int>> widths = Widths(value)) {
                settings.columnWidths[std::string(key.substr(kColumnsPrefix.size()))] = std::move(*widths);
            }
        }
    }
    return settings;
}

CLayoutSettings ReadLayoutSettings(const std::string& path) {
    const std::optional<std::string> text = quorex::files::ReadWholeFile(path);
    return text ? DecodeLayoutSettings(*text) : CLayoutSettings();
}

bool WriteLayoutSettings(const std::string& path, const CLayoutSettings& settings) {
    return quorex::files::ReplaceFile(path, EncodeLayoutSettings(settings));
}

}  // namespace kvt
