// The window's layout as the trader left it, kept between runs in "KvtTrade.ini" beside
// kvtsys.data (which keeps its 56 bytes and its meaning): the column widths of each list, by the
// list's page title, and the height of the order form above the splitter. A text file of
// "key=value" lines, UTF-8:
//   splitter=212
//   columns.报单=24,70,60,...
// Read at the start and written whole (a temporary file, synced and renamed) when the program
// ends. The file is untrusted: unknown keys, malformed lines and numbers outside 1 to kMaxWidth
// are skipped, a list whose kept widths do not match its columns (another version of the
// program) gets its own widths, and a missing or unreadable file means the built-in layout.
//
// Thread contract: free functions, reentrant.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

inline constexpr const char* kLayoutSettingsFile = "KvtTrade.ini";

struct CLayoutSettings {
    static constexpr int kMaxWidth = 4000;
    std::optional<int> splitter;                            // the order form's height in pixels
    std::map<std::string, std::vector<int>> columnWidths;  // by page title (UTF-8)

    // The kept widths of the list on this page when they fit its columns.
    std::optional<std::vector<int>> WidthsFor(const std::string& pageTitle, std::size_t columnCount) const;
};

std::string EncodeLayoutSettings(const CLayoutSettings& settings);
CLayoutSettings DecodeLayoutSettings(std::string_view text);

CLayoutSettings ReadLayoutSettings(const std::string& path);
// False, with the old file untouched, when it could not be written.
bool WriteLayoutSettings(const std::string& path, const CLayoutSettings& settings);

}  // namespace kvt
