#include "public/TcpChannel.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "public/ErrorReport.h"
#include "public/ErrorTexts.h"

namespace quorex {

namespace {

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

}  // namespace

bool CTcpChannel::SetNonBlocking(int socket) {
    int on = 1;
    while (::ioctl(socket, FIONBIO, &on) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

CTcpChannel::CTcpChannel(int socket) : CChannel(kChannelReadWrite), m_socket(socket) {
    if (!SetNonBlocking(socket)) {
        if (socket >= 0) ::close(socket);
        throw CRuntimeError(kTcpChannelCannotSetNonBlocking, kModuleTcpChannel, __LINE__);
    }
}

CTcpChannel::~CTcpChannel() { Disconnect(); }

const char* CTcpChannel::GetRemoteName() {
    m_remoteName[0] = '\0';
    if (m_socket < 0) return m_remoteName;
    // An address of another family is truncated here, but then its family says it is not IPv4.
    sockaddr_in peer{};
    socklen_t size = sizeof peer;
    if (::getpeername(m_socket, reinterpret_cast<sockaddr*>(&peer), &size) != 0 || peer.sin_family != AF_INET) {
        return m_remoteName;
    }
    if (::inet_ntop(AF_INET, &peer.sin_addr, m_remoteName, sizeof m_remoteName) == nullptr) m_remoteName[0] = '\0';
    return m_remoteName;
}

int CTcpChannel::ReadImpl(int length, char* buffer) {
    for (;;) {
        const ssize_t received = ::recv(m_socket, buffer, static_cast<size_t>(length), 0);
        if (received > 0) return static_cast<int>(received);
        if (received == 0) return -1;  // orderly close by the peer
        if (errno == EINTR) continue;
        return WouldBlock(errno) ? 0 : -1;
    }
}

int CTcpChannel::WriteImpl(int length, const char* data) {
    for (;;) {
        const ssize_t sent = ::send(m_socket, data, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (sent > 0) return static_cast<int>(sent);
        if (sent == 0) return -1;
        const int error = errno;
        if (error == EINTR) continue;
        if (WouldBlock(error)) return 0;
        Log(LogLevel::kError, "11GET_LAST_SOCK_ERROR()=%d\n", error);
        Log(LogLevel::kError, "11WRITE:::%s\n", std::system_category().message(error).c_str());
        return -1;
    }
}

void CTcpChannel::SetCork(bool on) {
    if (m_socket < 0) return;
    const int value = on ? 1 : 0;
    ::setsockopt(m_socket, IPPROTO_TCP, TCP_CORK, &value, sizeof value);
}

bool CTcpChannel::Close() {
    ::close(m_socket);
    m_socket = -1;
    return false;
}

}  // namespace quorex
