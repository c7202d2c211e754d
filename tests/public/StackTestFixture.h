// A live session for the protocol-stack tests: a reactor on a manual clock, a CXTPControl over
// one end of a socketpair with handlers for series 1 (no sync point) and 2 (sync point in
// memory), and the other end of the pair as the scripted peer. Frames for the peer to send are
// built with the kernel's own encoders; what the session sends is cut and parsed back.
#pragma once

#include <gtest/gtest.h>

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "public/ChannelControl.h"
#include "public/Frame.h"
#include "public/PackageTypes.h"
#include "public/XTPPackage.h"
#include "public/XTPPackageHandler.h"
#include "tests/public/ReactorTestSupport.h"

namespace quorex::test {

inline constexpr std::uint16_t kVariableFieldId = 0x0001;

using Bytes = std::vector<std::uint8_t>;

struct Delivery {
    std::uint8_t series;
    std::uint32_t sequenceNo;
    std::uint32_t tid;
    std::string trader;  // traderID of a logout package
    std::size_t length;  // package length, header included
};

// What the session and its handlers report, written on the reactor thread.
class CSessionLog {
public:
    void Delivered(const Delivery& delivery) {
        std::lock_guard lock(m_mutex);
        m_deliveries.push_back(delivery);
    }
    void Disconnected(int code) {
        std::lock_guard lock(m_mutex);
        m_disconnects.push_back(code);
    }
    void Destroyed() {
        std::lock_guard lock(m_mutex);
        m_destroyed = true;
    }
    std::vector<Delivery> Deliveries() {
        std::lock_guard lock(m_mutex);
        return m_deliveries;
    }
    std::vector<int> Disconnects() {
        std::lock_guard lock(m_mutex);
        return m_disconnects;
    }
    bool IsDestroyed() {
        std::lock_guard lock(m_mutex);
        return m_destroyed;
    }
    std::vector<std::string> Traders();

private:
    std::mutex m_mutex;
    std::vector<Delivery> m_deliveries;
    std::vector<int> m_disconnects;
    bool m_destroyed = false;
};

class CTestSession final : public CXTPControl {
public:
    CTestSession(CReactor& reactor, std::unique_ptr<CSocketPairChannel> channel, CSessionLog& log)
        : CXTPControl(reactor, std::move(channel)), m_log(log) {}
    ~CTestSession() override { m_log.Destroyed(); }
    void OnWritable() override {
        static_cast<CSocketPairChannel*>(GetChannel())->MarkWritable();
        CXTPControl::OnWritable();
    }

protected:
    void OnDisconnect(int code) override { m_log.Disconnected(code); }

private:
    CSessionLog& m_log;
};

// A handler like the API's: user threads queue logout packages (by trader ID) under a mutex and
// its poll sends them before the flow pump runs.
class CTestHandler final : public CXTPPackageHandler {
public:
    CTestHandler(CReactor& reactor, std::uint8_t series, CSessionLog& log)
        : CXTPPackageHandler(reactor, series), m_log(log) {}
    void Queue(const std::string& trader) {
        std::lock_guard lock(m_outboxMutex);
        m_outbox.push_back(trader);
    }
    bool Poll() override;
    // Reactor thread only.
    int deliverResult = 0;
    std::function<bool(CXTPPackage&)> filter;

protected:
    int DeliverToUser(CXTPPackage& package) override;
    bool FilterPackage(CXTPPackage& package) override { return !filter || filter(package); }

private:
    CSessionLog& m_log;
    std::mutex m_outboxMutex;
    std::deque<std::string> m_outbox;
    CXTPPackage m_outgoing;
};

// A logout package for trader, ready to send: window = content, header fields in m_XTPHeader.
void BuildLogout(CXTPPackage& package, const std::string& trader);
// A variable-field package with content bytes of content (at most 3980 with AddField's limits).
void BuildVariable(CXTPPackage& package, std::size_t fieldBytes);
// Wire frames as a peer sends them.
Bytes LogoutFrame(std::uint8_t series, std::uint32_t sequenceNo, const std::string& trader,
                  std::uint8_t type = kFrameTypeNormal);
Bytes HeartbeatFrame();
// The longest valid frame: a 127-byte extension and a 4096-byte package (one variable field).
Bytes LongestFrame();
// What the peer got: one whole frame decoded.
struct PeerFrame {
    std::uint8_t type = 0;
    bool heartbeat = false;
    TXTPHeader header{};
    std::string trader;
    std::size_t length = 0;  // whole frame
};
PeerFrame DecodeFrame(const Bytes& frame);

class StackTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void PeerSend(std::span<const std::uint8_t> bytes);
    void PeerSend(std::initializer_list<Bytes> frames);
    // Reads until count whole frames have arrived (5 seconds at most) and decodes them.
    std::vector<PeerFrame> PeerReceive(std::size_t count);
    // Bytes the session's socket holds that the reactor has not read yet.
    int UnreadBySession();
    bool WaitUntilSessionRead() {
        return WaitOnReactor(reactor, [this] { return UnreadBySession() == 0; });
    }
    bool WaitForDeliveries(std::size_t count) {
        return WaitOnReactor(reactor, [&] { return log.Deliveries().size() >= count; });
    }
    bool WaitForDisconnect() {
        return WaitOnReactor(reactor, [&] { return !log.Disconnects().empty(); });
    }
    // Two settled passes: whatever a timer queued in the first has been written in the second.
    void Quiesce() {
        Settle(reactor);
        Settle(reactor);
    }
    void AdvanceSeconds(int seconds) {
        clock.Advance(seconds * 1000);
        Quiesce();
    }
    // Checks on the reactor thread whether the peer end has nothing to read.
    bool PeerHasNothing();

    CManualClock clock{1'000'000};
    CSessionLog log;
    CReactor reactor{clock};
    int peer = -1;
    int sessionSocket = -1;
    CTestSession* session = nullptr;
    CSocketPairChannel* channel = nullptr;
    CTestHandler* dialog = nullptr;  // series 1
    CTestHandler* member = nullptr;  // series 2, with a sync point
    Bytes peerPending;
};

}  // namespace quorex::test
