#include "quorex/Text.h"

#include <iconv.h>

#include <cerrno>

namespace quorex {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// A thread's iconv descriptor for one direction, opened at its first use and closed when the
// thread ends: calls on different threads never share conversion state, and a text costs no
// descriptor of its own (opening one costs more than converting a record's texts).
class CThreadConverter {
public:
    CThreadConverter(const char* to, const char* from) : m_converter(iconv_open(to, from)) {}
    ~CThreadConverter() {
        if (m_converter != kNoConverter) iconv_close(m_converter);
    }
    CThreadConverter(const CThreadConverter&) = delete;
    CThreadConverter& operator=(const CThreadConverter&) = delete;

    // The descriptor in its initial state, or kNoConverter.
    iconv_t Reset() {
        if (m_converter != kNoConverter) iconv(m_converter, nullptr, nullptr, nullptr, nullptr);
        return m_converter;
    }

private:
    const iconv_t m_converter;
};

std::string Convert(CThreadConverter& thread, std::string_view input) {
    // Plain ASCII is the same in GBK and UTF-8, and most record texts are codes and numbers.
    bool ascii = true;
    for (const char c : input) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return std::string(input);
    const iconv_t converter = thread.Reset();
    if (converter == kNoConverter) return std::string(input);
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
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    thread_local CThreadConverter converter("UTF-8", "GBK");
    return Convert(converter, gbk);
}

std::string Utf8ToGbk(std::string_view utf8) {
    thread_local CThreadConverter converter("GBK", "UTF-8");
    return Convert(converter, utf8);
}

}  // namespace quorex
