// Raw loopback sockets for the channel and client tests: a listener on 127.0.0.1 with an
// ephemeral port, blocking client connections and readiness waits. Nothing leaves 127.0.0.0/8.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace quorex::test {

// Owns a descriptor; -1 when empty.
class CFd {
public:
    explicit CFd(int fd = -1) : m_fd(fd) {}
    CFd(CFd&& other) noexcept : m_fd(other.Release()) {}
    CFd& operator=(CFd&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    ~CFd() { Reset(); }
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }
    void Reset(int fd = -1) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

inline sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A listening socket on 127.0.0.1 at a port chosen by the system.
class CLoopbackListener {
public:
    explicit CLoopbackListener(int backlog = 16) : m_fd(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address = LoopbackAddress(0);
        socklen_t size = sizeof address;
        if (::bind(m_fd.Get(), reinterpret_cast<sockaddr*>(&address), size) == 0 && ::listen(m_fd.Get(), backlog) == 0 &&
            ::getsockname(m_fd.Get(), reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            m_port = ntohs(address.sin_port);
        }
    }
    std::uint16_t Port() const { return m_port; }
    int Fd() const { return m_fd.Get(); }
    // Takes the next queued connection, waiting for it.
    CFd Accept() { return CFd(::accept(m_fd.Get(), nullptr, nullptr)); }
    void Close() { m_fd.Reset(); }

private:
    CFd m_fd;
    std::uint16_t m_port = 0;
};

// A blocking client socket connected to 127.0.0.1:port, or an empty one on failure.
inline CFd ConnectLoopback(std::uint16_t port) {
    CFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    const sockaddr_in address = LoopbackAddress(port);
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) fd.Reset();
    return fd;
}

// Waits up to timeoutMs for any of events on fd; the events that occurred, or 0.
inline short WaitFor(int fd, short events, int timeoutMs = 5000) {
    pollfd watch{fd, events, 0};
    return ::poll(&watch, 1, timeoutMs) > 0 ? watch.revents : short{0};
}

}  // namespace quorex::test
