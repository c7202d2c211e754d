// A blocking test client that speaks frames and XTP packages over a loopback socket, built from
// the kernel's own package and frame classes. Waits are bounded by poll time-outs.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "ExchangeHarness.h"
#include "public/Frame.h"
#include "sim/RequestBuilder.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {

class CWireClient {
public:
    enum class Event { kPackage, kHeartbeat, kBrokenFrame, kClosed, kTimeout };
    struct CFrame {
        Event event = Event::kTimeout;
        CReceived package;
    };

    explicit CWireClient(std::uint16_t port) : m_socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected = ::connect(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~CWireClient() { ::close(m_socket); }
    CWireClient(const CWireClient&) = delete;
    CWireClient& operator=(const CWireClient&) = delete;

    template <class... Records>
    void Send(std::uint32_t tid, const Records&... records) {
        CXTPPackage build;
        CXTPPackage request;
        ASSERT_TRUE(BuildRequest(build, request, tid, "req1", records...));
        CPackage frame;
        frame.Allocate(kSendPackageCapacity);
        frame.Assign(request.Address(), request.Length());
        ASSERT_TRUE(CFrameEncoder().Encode(frame));
        SendRaw({frame.Address(), frame.Length()});
    }
    void SendRaw(std::span<const std::uint8_t> bytes) {
        ASSERT_EQ(::send(m_socket, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    }

    // The next frame, heartbeats included.
    CFrame Next(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        for (;;) {
            if (!m_buffer.empty()) {
                CFramePackage frame;
                frame.Assign(m_buffer.data(), m_buffer.size());
                const int length = frame.Cut();
                if (length < 0) return {Event::kBrokenFrame, {}};
                if (length > 0) {
                    CFrame cut;
                    cut.event = frame.IsHeartbeat() ? Event::kHeartbeat : Event::kPackage;
                    frame.StripHeader();
                    cut.package.wire.assign(frame.Address(), frame.Address() + frame.Length());
                    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + length);
                    return cut;
                }
            }
            pollfd watch{m_socket, POLLIN, 0};
            if (::poll(&watch, 1, static_cast<int>(timeout.count())) <= 0) return {Event::kTimeout, {}};
            std::uint8_t chunk[8192];
            const ssize_t got = ::recv(m_socket, chunk, sizeof chunk, 0);
            if (got <= 0) return {Event::kClosed, {}};
            m_buffer.insert(m_buffer.end(), chunk, chunk + got);
        }
    }
    // Packages (heartbeats skipped) up to and including the first of type tid; stops early on
    // anything but a package.
    std::vector<CReceived> Until(std::uint32_t tid) {
        std::vector<CReceived> received;
        for (CFrame frame = Next(); frame.event == Event::kPackage || frame.event == Event::kHeartbeat; frame = Next()) {
            if (frame.event == Event::kHeartbeat) continue;
            received.push_back(frame.package);
            if (frame.package.Tid() == tid) break;
        }
        return received;
    }
    // Logs a trader in and reads up to the end of the standard data.
    std::vector<CReceived> LoginTrader(const char* traderID, const char* password, std::int32_t privatePoint = 0) {
        TReqTraderLogin login{};
        SetText(login.traderID, traderID);
        SetText(login.memberID, std::string_view(traderID, 4));
        SetText(login.password, quorex::PasswordDigest(password));
        Send(tid::ReqTraderLogin, login, TSequencePoint{3, privatePoint}, TSequencePoint{2, 0}, TSequencePoint{4, 0});
        return Until(tid::ReqStandardDataSendOver);
    }

    bool connected = false;

private:
    int m_socket;
    std::vector<std::uint8_t> m_buffer;
};

}  // namespace quorex::sim::test
