#include "public/ServiceName.h"

#include <string_view>

#include "public/ErrorTexts.h"

namespace quorex {

namespace {

constexpr int kHighestPort = 65535;

// The decimal value of a port text, or 0 when the text is empty, holds anything but digits or
// names a number beyond the port range. Stops accumulating early so long texts cannot overflow.
int ParsePort(std::string_view text) {
    if (text.empty()) return 0;
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        port = port * 10 + (c - '0');
        if (port > kHighestPort) return 0;
    }
    return port;
}

}  // namespace

CServiceName::CServiceName(const char* location) {
    if (location == nullptr || *location == '\0') {
        throw CDesignError(kServiceNameEmpty, kModuleServiceName, __LINE__);
    }
    const std::string_view text(location);

    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        m_scheme = text;
        return;
    }
    m_scheme = text.substr(0, colon);

    std::string_view rest = text.substr(colon + 1);
    if (!rest.starts_with("//")) {
        throw CRuntimeError(kServiceNameInvalidLocation, kModuleServiceName, __LINE__);
    }
    rest.remove_prefix(2);

    const std::size_t hostEnd = rest.find_first_of(":/");
    m_host = rest.substr(0, hostEnd);
    if (hostEnd == std::string_view::npos) return;

    rest.remove_prefix(hostEnd);
    if (rest.front() == ':') {
        rest.remove_prefix(1);
        const std::size_t portEnd = rest.find('/');
        m_port = ParsePort(rest.substr(0, portEnd));
        if (portEnd == std::string_view::npos) return;
        rest.remove_prefix(portEnd);
    }
    m_path = rest.substr(1);  // rest starts with the '/' that ends the host or the port
}

}  // namespace quorex
