#include "quorex/Text.h"

#include <iconv.h>

#include <cerrno>

namespace quorex {
namespace {

// One conversion with its own iconv descriptor, so that calls on different threads never share
// conversion state.
std::string Convert(const char* to, const char* from, std::string_view input) {
    // Plain ASCII is the same in GBK and UTF-8, and most record texts are codes and numbers.
    bool ascii = true;
    for (const char c : input) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(input);
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(input);
    std::string output(input.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG || outLeft == 0) break;
        // An invalid or cut-off sequence: mark it and go on after its first byte.
        *out++ = '?';
        --outLeft;
        ++in;
        --inLeft;
    }
    iconv(converter, nullptr, nullptr, &out, &outLeft);
    iconv_close(converter);
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert("UTF-8", "GBK", gbk); }
std::string Utf8ToGbk(std::string_view utf8) { return Convert("GBK", "UTF-8", utf8); }

}  // namespace quorex
