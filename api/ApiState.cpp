// CApiState: connecting, the session's end, the received-package log and the trading day.
#include "api/ApiState.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <string>

#include "api/ApiSession.h"
#include "api/ApiTexts.h"
#include "public/ErrorReport.h"
#include "public/PackageTypes.h"
#include "public/ServiceName.h"
#include "public/TcpClient.h"
#include "quorex/Errors.h"

namespace quorex {

std::unique_ptr<CApiSession> CApiState::Connect() {
    const int count = std::min(std::max(owner.m_nServerCount, 0), CApi::kMaxServers);
    for (int i = 0; i < count; ++i) {
        const CApi::TServiceAddress& server = owner.m_Services[i];
        char location[CApi::kMaxHostLength + 32];
        std::snprintf(location, sizeof location, "tcp://%.*s:%d", CApi::kMaxHostLength, server.host, server.port);
        std::unique_ptr<CTcpChannel> channel;
        try {
            channel = CTcpClient().Connect(CServiceName(location));
        } catch (const CError&) {
            // A server entry that cannot even be tried (port 0, say) counts as a failed server.
        }
        if (channel == nullptr) {
            Log(LogLevel::kError, "connect Fialed!!\n");
            continue;
        }
        return std::make_unique<CApiSession>(*reactor, std::move(channel), *this);
    }
    return nullptr;
}

void CApiState::OpenSyncFiles(CApiSession& newSession, const char* userId, const TUserFilePatterns& files) {
    newSession.Handler(kPrivateSeries).OpenSyncFile(UserFileName(files.privateSync, userId).c_str());
    newSession.Handler(kMemberSeries).OpenSyncFile(UserFileName(files.memberSync, userId).c_str());
    newSession.Handler(kMarketSeries).OpenSyncFile(UserFileName(files.marketSync, userId).c_str());
}

bool CApiState::Adopt(std::unique_ptr<CApiSession> newSession) {
    // Published before the reactor sees the session, so that its end can only clear it afterwards.
    CApiSession* published = newSession.get();
    session.store(published, std::memory_order_release);
    dialogQueue.Clear();
    if (reactor->AddSession(std::move(newSession))) return true;
    session.compare_exchange_strong(published, nullptr);
    return false;
}

void CApiState::Stop() {
    m_stopping.store(true, std::memory_order_release);
    if (reactor == nullptr) return;
    reactor->Stop();
    if (CApiSession* current = session.exchange(nullptr)) current->Shutdown(kEventShutdownDone);
    reactor.reset();
}

void CApiState::OnSessionEnded(CApiSession* ended, int code) {
    assert(reactor->OwnsReactorWork());
    session.compare_exchange_strong(ended, nullptr);
    dialogQueue.Clear();
    if (m_stopping.load(std::memory_order_acquire)) return;
    Log(LogLevel::kError, "ChannelLost  ErrorCode=%d\n", code);
    FlushLog();
    owner.onChannelLost(kChannelLostReason);
}

void CApiState::DeliverReceived(const CXTPPackage& package) {
    assert(reactor->OwnsReactorWork());
    const bool handled = DispatchPackage(owner, *this, package);
    const TXTPHeader& header = package.m_XTPHeader;
    if (handled && header.SequenceSeries != kDialogSeries && header.SequenceNo > 0) m_log.Append(package);
}

bool CApiState::BeginTradingDay(const char* tradeDate, const char* userId) {
    assert(reactor->OwnsReactorWork());
    if (std::strncmp(tradeDate, clock.TradeDate().c_str(), CClockFile::kDateLength) == 0) {
        m_log.Open(userId, true);
        return true;
    }
    clock.SetTradeDate(tradeDate);
    CApiSession* current = session.load(std::memory_order_acquire);
    if (current != nullptr) {
        const CSyncPoint* privatePoint = current->Handler(kPrivateSeries).GetSyncPoint();
        Log(LogLevel::kDiagnostic, "日期变更，修改接收断点! pr=%ld\n", privatePoint ? static_cast<long>(privatePoint->Point().SequenceNo) : 0L);
        FlushLog();
        for (FlowSeries series : {kPrivateSeries, kMemberSeries, kMarketSeries})
            if (CSyncPoint* point = current->Handler(series).GetSyncPoint()) point->ResetSequence();
    }
    m_log.Open(userId, false);
    return false;
}

void CApiState::ReplayReceivedLog() {
    assert(reactor->OwnsReactorWork());
    m_log.Replay([&](const CXTPPackage& package) { DeliverReceived(package); });
}

void CApiState::AcknowledgeStandardData() {
    assert(reactor->OwnsReactorWork());
    CApiSession* current = session.load(std::memory_order_acquire);
    if (current == nullptr || !m_acknowledgement.Prepare(tid::RspStandardDataSendOver)) return;
    TTRspMsg rsp{};
    std::strcpy(rsp.RspCode, kRspSuccess);
    m_acknowledgement.AddRecord(rsp);
    current->Handler(kDialogSeries).SendPackage(m_acknowledgement);
}

int CApiState::HandleEvent(int code, int, void* data) {
    assert(reactor->OwnsReactorWork());
    CApiSession* current = session.load(std::memory_order_acquire);
    if (code != kEventSendPackage || current == nullptr || data == nullptr) return -1;
    return current->Handler(kDialogSeries).SendPackage(*static_cast<CXTPPackage*>(data));
}

}  // namespace quorex
