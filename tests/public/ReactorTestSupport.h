// Helpers for the reactor and protocol-stack tests: a barrier that waits for the reactor to finish
// a whole pass, a gate that holds the reactor thread inside an event, a target that keeps the event
// ring full, and a channel over one end of a socketpair.
#pragma once

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "public/Channel.h"
#include "public/Reactor.h"

namespace quorex::test {

class CNoopTarget final : public CEventTarget {
public:
    int HandleEvent(int, int, void*) override { return 0; }
};

// Returns once the reactor has run at least one whole pass (clock refresh, readiness, timers)
// after the call: the first call may run in the pass that is already under way, the second one
// then runs in a pass that started after the first returned.
inline void Settle(CReactor& reactor) {
    CNoopTarget noop;
    reactor.SyncCall(&noop, 0, 0, nullptr);
    reactor.SyncCall(&noop, 0, 0, nullptr);
}

// Runs function() on the reactor thread and returns its int result.
template <class Function>
int RunOnReactor(CReactor& reactor, Function function) {
    struct CCall final : CEventTarget {
        Function* body = nullptr;
        int HandleEvent(int, int, void*) override { return (*body)(); }
    } call;
    call.body = &function;
    return reactor.SyncCall(&call, 0, 0, nullptr);
}

// Checks predicate() on the reactor thread until it holds or five seconds have passed; whether
// it held. For conditions that depend on a peer's bytes arriving.
template <class Predicate>
bool WaitOnReactor(CReactor& reactor, Predicate predicate) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (RunOnReactor(reactor, [&] { return predicate() ? 1 : 0; }) == 0) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A target whose events each wait for a permit, so a test can hold the reactor thread inside
// HandleEvent and look at the queue meanwhile.
class CGateTarget final : public CEventTarget {
public:
    int HandleEvent(int code, int, void*) override {
        std::unique_lock lock(m_mutex);
        m_entered.push_back(code);
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_permits > 0; });
        --m_permits;
        return code;
    }
    // Waits until count events have entered HandleEvent.
    void WaitEntered(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_entered.size() >= count; });
    }
    void Permit(int count = 1) {
        std::lock_guard lock(m_mutex);
        m_permits += count;
        m_changed.notify_all();
    }
    std::vector<int> Entered() {
        std::lock_guard lock(m_mutex);
        return m_entered;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<int> m_entered;
    int m_permits = 0;
};

// Keeps a reactor's event ring full while it is on: each of its events posts to it again until the
// ring refuses, so after every drain the ring is full and whatever a session posts in the next pass
// is refused. The reactor spins while it is on. It must outlive the reactor's loop (declare it
// before whatever owns the reactor).
class CRingFiller final : public CEventTarget {
public:
    explicit CRingFiller(CReactor& reactor) : m_reactor(reactor) {}
    void Start() {
        m_filling.store(true);
        Refill();
    }
    void Stop() { m_filling.store(false); }
    int HandleEvent(int, int, void*) override {
        if (m_filling.load()) Refill();
        return 0;
    }

private:
    void Refill() {
        while (m_reactor.PostEvent(this, 0, 0, nullptr)) {
        }
    }

    CReactor& m_reactor;
    std::atomic<bool> m_filling{false};
};

// A non-blocking read-write channel over one end of a socketpair; the test keeps the other end.
// A test can cap what one write accepts, and every write is logged (length asked, count written),
// with a marker (-1, -1) wherever MarkWritable is called.
class CSocketPairChannel final : public CChannel {
public:
    struct Write {
        int asked;
        int written;
    };

    explicit CSocketPairChannel(int socket) : CChannel(kChannelReadWrite), m_socket(socket) {}
    ~CSocketPairChannel() override { CSocketPairChannel::Close(); }
    const char* GetRemoteName() override { return ""; }
    int GetId() const override { return m_socket; }

    void SetWriteCap(int cap) { m_writeCap.store(cap); }
    void MarkWritable() { Log(Write{-1, -1}); }
    std::vector<Write> Writes() {
        std::lock_guard lock(m_logMutex);
        return m_writes;
    }

protected:
    int ReadImpl(int length, char* buffer) override {
        const ssize_t got = ::recv(m_socket, buffer, static_cast<std::size_t>(length), MSG_DONTWAIT);
        if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
        return got == 0 ? -1 : static_cast<int>(got);
    }
    int WriteImpl(int length, const char* data) override {
        const int offered = std::min(length, m_writeCap.load());
        const ssize_t sent = ::send(m_socket, data, static_cast<std::size_t>(offered), MSG_DONTWAIT | MSG_NOSIGNAL);
        int result = static_cast<int>(sent);
        if (sent < 0) result = errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
        if (sent == 0) result = -1;
        Log(Write{length, result});
        return result;
    }
    bool Close() override {
        if (m_socket >= 0) ::close(m_socket);
        m_socket = -1;
        return false;
    }

private:
    void Log(Write write) {
        std::lock_guard lock(m_logMutex);
        m_writes.push_back(write);
    }

    int m_socket;
    std::atomic<int> m_writeCap{1 << 30};
    std::mutex m_logMutex;
    std::vector<Write> m_writes;
};

}  // namespace quorex::test
