#include "tests/public/StackTestFixture.h"

#include <poll.h>

#include "public/WireBytes.h"

namespace quorex::test {

std::vector<std::string> CSessionLog::Traders() {
    std::vector<std::string> traders;
    for (const Delivery& delivery : Deliveries()) traders.push_back(delivery.trader);
    return traders;
}

bool CTestHandler::Poll() {
    bool sent = false;
    for (;;) {
        std::string trader;
        {
            std::lock_guard lock(m_outboxMutex);
            if (m_outbox.empty()) break;
            trader = std::move(m_outbox.front());
            m_outbox.pop_front();
        }
        BuildLogout(m_outgoing, trader);
        SendPackage(m_outgoing);
        sent = true;
    }
    return CXTPPackageHandler::Poll() || sent;
}

int CTestHandler::DeliverToUser(CXTPPackage& package) {
    Delivery delivery{package.m_XTPHeader.SequenceSeries, package.m_XTPHeader.SequenceNo, package.m_XTPHeader.Tid,
                      "", package.Length()};
    TReqTraderLogout logout;
    if (package.GetRecord(logout)) delivery.trader = logout.traderID;
    m_log.Delivered(delivery);
    return deliverResult;
}

void BuildLogout(CXTPPackage& package, const std::string& trader) {
    ASSERT_TRUE(package.Prepare(tid::ReqTraderLogout));
    TReqTraderLogout logout{};
    std::strncpy(logout.traderID, trader.c_str(), sizeof logout.traderID - 1);
    ASSERT_TRUE(package.AddRecord(logout));
}

void BuildVariable(CXTPPackage& package, std::size_t fieldBytes) {
    ASSERT_TRUE(package.Prepare(tid::VariableField));
    std::uint8_t* data = package.AddField(kVariableFieldId, static_cast<std::uint16_t>(fieldBytes));
    ASSERT_NE(data, nullptr);
    for (std::size_t i = 0; i < fieldBytes; ++i) data[i] = static_cast<std::uint8_t>(i * 7);
}

Bytes LogoutFrame(std::uint8_t series, std::uint32_t sequenceNo, const std::string& trader, std::uint8_t type) {
    CXTPPackage package;
    BuildLogout(package, trader);
    TXTPHeader header = package.m_XTPHeader;
    header.SequenceSeries = series;
    header.SequenceNo = sequenceNo;
    header.ContentLength = static_cast<std::uint16_t>(package.Length());
    CFrameEncoder encoder;
    encoder.SwitchType(type == kFrameTypeSwitched ? 1 : 0);
    EXPECT_TRUE(package.PrependHeader(header) && encoder.Encode(package));
    return Bytes(package.Address(), package.Address() + package.Length());
}

Bytes HeartbeatFrame() {
    CPackage heartbeat;
    heartbeat.Allocate(kHeartbeatFrameLength);
    EXPECT_TRUE(CFrameEncoder::MakeHeartbeat(heartbeat));
    return Bytes(heartbeat.Address(), heartbeat.Address() + heartbeat.Length());
}

Bytes LongestFrame() {
    Bytes frame(kMaxWholeFrameLength);
    std::uint8_t* p = frame.data();
    p[0] = kFrameTypeNormal;
    p[1] = kMaxExtensionLength;
    wire::PutU16(p + 2, kMaxFrameLength);
    p[4] = 7;  // an extension tag other than the heartbeat's
    p[5] = kMaxExtensionLength - 2;
    std::uint8_t* package = p + kFrameHeaderLength + kMaxExtensionLength;
    TXTPHeader header{};
    header.SequenceSeries = 1;
    header.Chain = 'S';
    header.Tid = tid::VariableField;
    header.ContentLength = kMaxFrameLength - XTPHLEN;
    EncodeXTPHeader(header, package);
    wire::PutU16(wire::PutU16(package + XTPHLEN, kVariableFieldId), kMaxFrameLength - XTPHLEN - kFieldHeaderLength);
    return frame;
}

PeerFrame DecodeFrame(const Bytes& bytes) {
    PeerFrame decoded;
    CFramePackage frame;
    frame.Assign(bytes.data(), bytes.size());
    EXPECT_GT(frame.Cut(), 0);
    decoded.type = frame.m_FrameHeader.Type;
    decoded.length = frame.Length();
    decoded.heartbeat = frame.IsHeartbeat();
    if (decoded.heartbeat) return decoded;
    frame.StripHeader();
    CXTPPackage package;
    package.ViewOf(frame);
    EXPECT_GT(package.Parse(), 0);
    decoded.header = package.m_XTPHeader;
    TReqTraderLogout logout;
    if (package.GetRecord(logout)) decoded.trader = logout.traderID;
    return decoded;
}

void StackTest::SetUp() {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    sessionSocket = fds[0];
    peer = fds[1];
    auto pairChannel = std::make_unique<CSocketPairChannel>(sessionSocket);
    channel = pairChannel.get();
    auto built = std::make_unique<CTestSession>(reactor, std::move(pairChannel), log);
    session = built.get();
    dialog = static_cast<CTestHandler*>(built->AddHandler(std::make_unique<CTestHandler>(reactor, 1, log)));
    member = static_cast<CTestHandler*>(built->AddHandler(std::make_unique<CTestHandler>(reactor, 2, log)));
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(member, nullptr);
    member->OpenSyncFile(nullptr);
    ASSERT_TRUE(reactor.AddSession(std::move(built)));
    ASSERT_TRUE(reactor.Start());
}

void StackTest::TearDown() {
    reactor.Stop();
    if (peer >= 0) ::close(peer);
}

void StackTest::PeerSend(std::span<const std::uint8_t> bytes) {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const ssize_t sent = ::send(peer, bytes.data() + offset, bytes.size() - offset, MSG_NOSIGNAL);
        ASSERT_GT(sent, 0);
        offset += static_cast<std::size_t>(sent);
    }
}

void StackTest::PeerSend(std::initializer_list<Bytes> frames) {
    Bytes all;
    for (const Bytes& frame : frames) all.insert(all.end(), frame.begin(), frame.end());
    PeerSend(all);
}

std::vector<PeerFrame> StackTest::PeerReceive(std::size_t count) {
    std::vector<PeerFrame> frames;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (frames.size() < count && std::chrono::steady_clock::now() < deadline) {
        CFramePackage cutter;
        if (!peerPending.empty()) cutter.Assign(peerPending.data(), peerPending.size());
        const int length = peerPending.empty() ? 0 : cutter.Cut();
        if (length > 0) {
            frames.push_back(DecodeFrame(Bytes(peerPending.begin(), peerPending.begin() + length)));
            peerPending.erase(peerPending.begin(), peerPending.begin() + length);
            continue;
        }
        pollfd watch{peer, POLLIN, 0};
        if (::poll(&watch, 1, 100) <= 0) continue;
        std::uint8_t chunk[8192];
        const ssize_t got = ::recv(peer, chunk, sizeof chunk, 0);
        if (got <= 0) break;
        peerPending.insert(peerPending.end(), chunk, chunk + got);
    }
    return frames;
}

int StackTest::UnreadBySession() {
    int unread = 0;
    return ::ioctl(sessionSocket, FIONREAD, &unread) == 0 ? unread : -1;
}

bool StackTest::PeerHasNothing() {
    int unread = 0;
    return ::ioctl(peer, FIONREAD, &unread) == 0 && unread == 0;
}

}  // namespace quorex::test
