#include "api/UserFiles.h"

#include <cstring>

namespace quorex {
namespace {

bool IsUnsafeInFileName(unsigned char byte) { return byte == '/' || byte == '\\' || byte < 0x20 || byte == 0x7F; }

}  // namespace

std::string UserFileName(const char* pattern, const char* userId) {
    std::string id = userId != nullptr ? userId : "";
    for (char& c : id)
        if (IsUnsafeInFileName(static_cast<unsigned char>(c))) c = '_';
    std::string name = pattern;
    const std::size_t slot = name.find("%s");
    if (slot != std::string::npos) name.replace(slot, 2, id);
    return name;
}

}  // namespace quorex
