// CChannel: a byte channel (one socket for the TCP channel). Used only on the reactor thread once
// its session is built.
#pragma once

#include <cstddef>

namespace quorex {

enum ChannelMode : int { kChannelReadOnly = 1, kChannelWriteOnly = 2, kChannelReadWrite = 3 };

class CChannel {
public:
    explicit CChannel(ChannelMode mode) : m_mode(mode) {}
    CChannel(const CChannel&) = delete;
    CChannel& operator=(const CChannel&) = delete;
    virtual ~CChannel() = default;

    // Reads up to length bytes: the count, 0 when nothing is available now (never an error),
    // -1 when the peer closed or the read failed, or when the channel is disconnected.
    // CDesignError "Can not read in write only CChannel" on a write-only channel.
    int Read(int length, char* buffer);
    // Writes up to length bytes: the count written (possibly fewer), 0 when the channel cannot
    // take any now, -1 on failure or when disconnected.
    // CDesignError "Can not write in read only CChannel" on a read-only channel.
    int Write(int length, const char* data);
    // Closes the channel once; later calls do nothing.
    void Disconnect();
    bool IsConnected() const { return m_connected; }

    // Brackets a run of writes made one after another (the bottom layer draining its queue): a
    // channel may hold back what does not fill a network segment until EndBurst instead of sending
    // each write on its own. The bytes and their order are the same either way; the default does
    // nothing.
    virtual void BeginBurst() {}
    virtual void EndBurst() {}

    // The peer's dotted IPv4 address, or "" when unknown.
    virtual const char* GetRemoteName() = 0;
    // The socket descriptor the reactor watches.
    virtual int GetId() const = 0;

protected:
    virtual int ReadImpl(int length, char* buffer) = 0;
    virtual int WriteImpl(int length, const char* data) = 0;
    // Closes the underlying handle; returns the new connected flag (false).
    virtual bool Close() = 0;

private:
    ChannelMode m_mode;
    bool m_connected = true;
};

}  // namespace quorex
