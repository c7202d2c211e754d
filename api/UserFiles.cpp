#include "api/UserFiles.h"

namespace quorex {
namespace {

// Bytes that stand for themselves in a file name; every other byte (path separators, dots,
// control characters, spaces, GBK bytes, and '%' itself) is written as %XX. The mapping is
// injective, so two different IDs never share a file, and plain IDs keep the names they had.
bool StandsForItself(unsigned char byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           byte == '_' || byte == '-';
}

}  // namespace

std::string UserFileName(const char* pattern, const char* userId) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string id;
    for (const char* at = userId != nullptr ? userId : ""; *at != '\0'; ++at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (StandsForItself(byte)) {
            id.push_back(*at);
        } else {
            id.push_back('%');
            id.push_back(kHex[byte >> 4]);
            id.push_back(kHex[byte & 0x0F]);
        }
    }
    std::string name = pattern;
    const std::size_t slot = name.find("%s");
    if (slot != std::string::npos) name.replace(slot, 2, id);
    return name;
}

}  // namespace quorex
