// CServiceName: the parsed form of a server location "scheme://host:port/path", for example
// "tcp://10.0.0.5:5000". An immutable value once built; safe to read from any thread.
#pragma once

#include <string>

namespace quorex {

class CServiceName {
public:
    // Parses the location:
    // - no ':' at all: the whole text is the scheme, everything else empty and the port 0;
    // - otherwise the scheme is the text before the first ':', which must be followed by "//";
    //   the host runs to the next ':', '/' or the end, the port text from that ':' to the next
    //   '/' or the end, and the path is everything after that '/'.
    // The port is 0 when its text is missing, is not all decimal digits or exceeds 65535.
    // Throws CDesignError "empty location for service name" for a null or empty text and
    // CRuntimeError "Invalid location" when the scheme is not followed by "//".
    explicit CServiceName(const char* location);

    const std::string& GetScheme() const { return m_scheme; }
    const std::string& GetHost() const { return m_host; }
    int GetPort() const { return m_port; }
    const std::string& GetPath() const { return m_path; }

private:
    std::string m_scheme;
    std::string m_host;
    int m_port = 0;
    std::string m_path;
};

}  // namespace quorex
