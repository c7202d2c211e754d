// The pre-order file as the client reads it after a login: arbitrary bytes must load only whole
// entries, each with a terminated indenture list, and what loads must write an image that loads
// and writes again unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "client/pages/PreOrderFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    // The file's own date, so that the entries are read whenever there are 9 bytes.
    const std::string_view date = image.substr(0, std::min<std::size_t>(8, size));
    const std::vector<kvt::CParkedOrder> loaded = kvt::DecodePreOrderFile(image, date);
    std::vector<const kvt::CParkedOrder*> entries;
    for (const kvt::CParkedOrder& parked : loaded) {
        if (parked.indentures.empty() || parked.indentures.back().indentNo[0] != '\0') std::abort();
        entries.push_back(&parked);
    }
    if (loaded.empty()) return 0;
    const std::string written = kvt::EncodePreOrderFile(date, entries);
    const std::vector<kvt::CParkedOrder> again = kvt::DecodePreOrderFile(written, date);
    if (again.size() != loaded.size()) std::abort();
    std::vector<const kvt::CParkedOrder*> againEntries;
    for (const kvt::CParkedOrder& parked : again) againEntries.push_back(&parked);
    if (kvt::EncodePreOrderFile(date, againEntries) != written) std::abort();
    return 0;
}
