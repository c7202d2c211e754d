// A scripted exchange for the API tests: one loopback listener, one accepted connection, and
// blocking reads and writes of whole packages with time-outs. Runs on the test's thread; the API
// under test runs its own reactor thread.
#pragma once

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "public/Frame.h"
#include "public/LoopbackSockets.h"
#include "public/XTPPackage.h"

namespace quorex::test {

// A package as the exchange received it: its bytes, parsed.
struct CReceived {
    std::vector<std::uint8_t> bytes;  // XTP header and content
    std::unique_ptr<CXTPPackage> package = std::make_unique<CXTPPackage>();
};

class CFakeExchange {
public:
    std::uint16_t Port() const { return m_listener.Port(); }

    bool Accept(int timeoutMs = 5000) {
        if (WaitFor(m_listener.Fd(), POLLIN, timeoutMs) == 0) return false;
        m_connection = m_listener.Accept();
        return m_connection.Get() >= 0;
    }

    // The next package the client sent (heartbeats skipped), or nothing after timeoutMs or when
    // the client closed the connection.
    std::optional<CReceived> Receive(int timeoutMs = 5000) {
        for (;;) {
            if (auto received = CutOne()) return received;
            if (WaitFor(m_connection.Get(), POLLIN, timeoutMs) == 0) return std::nullopt;
            std::uint8_t chunk[8192];
            const ssize_t n = ::recv(m_connection.Get(), chunk, sizeof chunk, 0);
            if (n <= 0) return std::nullopt;
            m_pending.insert(m_pending.end(), chunk, chunk + n);
        }
    }

    // Sends a package of tid on series with the given header values; fill adds the fields.
    template <class Fill>
    void Send(std::uint32_t tid, std::uint8_t series, std::uint32_t sequenceNo, Fill fill, char chain = 'S',
              const char* rootId = nullptr) {
        CXTPPackage package;
        package.Prepare(tid);
        package.SetRootID(rootId);
        fill(package);
        TXTPHeader& header = package.m_XTPHeader;
        header.SequenceSeries = series;
        header.SequenceNo = sequenceNo;
        header.Chain = chain;
        header.ContentLength = static_cast<std::uint16_t>(package.Length());
        package.PrependHeader(header);
        CFrameEncoder().Encode(package);
        SendBytes(package.Address(), package.Length());
    }

    void SendBytes(const void* bytes, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(bytes);
        while (n > 0) {
            const ssize_t sent = ::send(m_connection.Get(), p, n, MSG_NOSIGNAL);
            if (sent <= 0) return;
            p += sent;
            n -= static_cast<std::size_t>(sent);
        }
    }

    void CloseConnection() { m_connection.Reset(); }
    bool HasConnection() const { return m_connection.Get() >= 0; }

    // True when the client closed the connection within timeoutMs.
    bool WaitForClientClose(int timeoutMs = 5000) {
        while (WaitFor(m_connection.Get(), POLLIN, timeoutMs) != 0) {
            std::uint8_t chunk[4096];
            if (::recv(m_connection.Get(), chunk, sizeof chunk, 0) <= 0) return true;
        }
        return false;
    }

private:
    std::optional<CReceived> CutOne() {
        while (!m_pending.empty()) {
            CFramePackage frame;
            frame.Assign(m_pending.data(), m_pending.size());
            const int length = frame.Cut();
            if (length <= 0) return std::nullopt;
            const bool heartbeat = frame.IsHeartbeat();
            frame.StripHeader();
            CReceived received;
            received.bytes.assign(frame.Address(), frame.Address() + frame.Length());
            m_pending.erase(m_pending.begin(), m_pending.begin() + length);
            if (heartbeat) continue;
            received.package->Assign(received.bytes.data(), received.bytes.size());
            if (received.package->Parse() < 0) return std::nullopt;
            return received;
        }
        return std::nullopt;
    }

    CLoopbackListener m_listener;
    CFd m_connection;
    std::vector<std::uint8_t> m_pending;
};

}  // namespace quorex::test
