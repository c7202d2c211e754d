// CTcpChannel: a read-write channel over a connected TCP socket. It owns the socket and closes it
// on Disconnect or destruction. The socket is switched to non-blocking mode, so reads and writes
// never wait; a peer that has gone away never raises SIGPIPE. Used by one thread at a time: the
// thread that builds it, then the reactor thread once its session is built.
// POSIX sockets need no process-wide start-up, so there is no socket library to initialise.
#pragma once

#include <netinet/in.h>

#include "public/Channel.h"

namespace quorex {

class CTcpChannel final : public CChannel {
public:
    // Takes ownership of the socket, even when it throws: if non-blocking mode is refused, the
    // socket is closed and CRuntimeError "Can not set FIONBIO\n" is thrown.
    explicit CTcpChannel(int socket);
    ~CTcpChannel() override;

    // The peer's dotted IPv4 address, or "" when the peer is unknown or the channel is closed.
    // The text stays valid until the next call or the channel's destruction.
    const char* GetRemoteName() override;
    // The socket descriptor, or -1 once the channel is disconnected.
    int GetId() const override { return m_socket; }
    // Corks the socket for a burst of writes, so that they leave as full segments, and uncorks it
    // at the end, which sends the rest at once. Without this every write would go out, and on a
    // fast peer be received, as a segment of its own.
    void BeginBurst() override { SetCork(true); }
    void EndBurst() override { SetCork(false); }

    // Switches a socket to non-blocking mode, retrying an interrupted call; false on failure
    // (errno tells why).
    static bool SetNonBlocking(int socket);

protected:
    // Count read; 0 when nothing is available now; -1 when the peer closed or on error.
    int ReadImpl(int length, char* buffer) override;
    // Count sent, possibly fewer than length; 0 when the socket cannot take any now; -1 on error,
    // after printing the error code and its text to standard output.
    int WriteImpl(int length, const char* data) override;
    // Closes the socket; always false (the channel is then disconnected).
    bool Close() override;

private:
    // A failure (a closed socket, say) only costs the batching.
    void SetCork(bool on);

    int m_socket;
    char m_remoteName[INET_ADDRSTRLEN] = {};
};

}  // namespace quorex
