#include "public/Channel.h"

#include "public/ErrorTexts.h"

namespace quorex {

// A request that cannot move a single byte (no room in the caller's buffer, or nothing to send)
// is reported as a failure rather than as "nothing available now": the socket stays ready, so
// answering 0 would make the reactor spin on it forever.

int CChannel::Read(int length, char* buffer) {
    if (m_mode == kChannelWriteOnly) throw CDesignError(kChannelReadOnWriteOnly, kModuleChannel, __LINE__);
    if (!m_connected || length <= 0 || buffer == nullptr) return -1;
    return ReadImpl(length, buffer);
}

int CChannel::Write(int length, const char* data) {
    if (m_mode == kChannelReadOnly) throw CDesignError(kChannelWriteOnReadOnly, kModuleChannel, __LINE__);
    if (!m_connected || length <= 0 || data == nullptr) return -1;
    return WriteImpl(length, data);
}

void CChannel::Disconnect() {
    if (m_connected) m_connected = Close();
}

}  // namespace quorex
