// The four servers of the login dialog, "Kvt服务器1" to "Kvt服务器4", each an address and a port.
// The addresses are configuration (the command line); every entry starts as the bundled
// exchange's default address.
#pragma once

#include <array>
#include <string>

namespace kvt {

inline constexpr int kDefaultServerPort = 6669;
inline constexpr std::size_t kMaxServerHostLength = 31;

struct CServerAddress {
    std::string host = "127.0.0.1";
    int port = kDefaultServerPort;
};

using CServerList = std::array<CServerAddress, 4>;

// "Kvt服务器1" for index 0, and so on (UTF-8).
std::string ServerName(int index);

}  // namespace kvt
