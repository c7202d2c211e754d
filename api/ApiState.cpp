// CApiState: connecting, the session's end, the received-package log and the trading day.
#include "api/ApiState.h"

#include <unistd.h>

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
#include "quorex/Text.h"

namespace quorex {
namespace {

// The login answer of a login whose file cannot be used: the library's code and the file's name.
void DescribeUserFileFailure(const std::string& file, TTRspMsg& failure) {
    failure = TTRspMsg{};
    std::strcpy(failure.RspCode, kRspUserFileFailed);
    SetText(failure.RspMsg, std::string(kRspUserFileFailedText) + file);
}

}  // namespace

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

template <class Open>
void CApiState::OpenNoting(const std::string& path, Open open) {
    const bool existed = ::access(path.c_str(), F_OK) == 0;
    open(path.c_str());
    if (!existed && ::access(path.c_str(), F_OK) == 0) m_loginFiles.push_back(path);
}

void CApiState::OpenUserFiles(CApiSession& newSession, const char* userId, const TUserFilePatterns& files) {
    m_loginFiles.clear();
    OpenNoting(UserFileName(files.clock, userId), [&](const char* path) { clock.Open(path); });
    // On a day that has a log, the log says what the user was given: a kill between a log append
    // and the sync file's write, or a sync file cut short, would otherwise give a package twice.
    TReceivedLogState logState;
    const bool knownDay = !clock.TradeDate().empty();
    if (knownDay) logState = CReceivedLog::Inspect(userId);
    const FlowSeries order[] = {kPrivateSeries, kMemberSeries, kMarketSeries};
    const char* const patterns[] = {files.privateSync, files.memberSync, files.marketSync};
    // A new day's log names every record's origin; so does a log of this version.
    m_logSetsSyncPoints = !knownDay || (logState.Usable() && logState.withOrigins);
    for (int i = 0; i < 3; ++i) {
        CApiFlowHandler& handler = newSession.Handler(order[i]);
        OpenNoting(UserFileName(patterns[i], userId), [&](const char* path) { handler.OpenSyncFile(path); });
        CSyncPoint& point = *handler.GetSyncPoint();
        if (knownDay && m_logSetsSyncPoints) point.SetSequence(logState.lastSequenceNo[order[i]]);
        point.DeferWrites(m_logSetsSyncPoints);
    }
}

void CApiState::RemoveLoginFiles() {
    for (const std::string& path : m_loginFiles) ::unlink(path.c_str());
    m_loginFiles.clear();
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
    if (!IsCurrent(ended)) return;
    // Before anyone hears of the end: the next login, on this object or another, reads the log to
    // set its sync points, so nothing of it may still wait in a buffer.
    WriteDelivered(*ended);
    // A login that never got its answer created files that hold nothing yet.
    RemoveLoginFiles();
    // Cleared before the session goes, so that a new login's queue is never touched.
    dialogQueue.Clear();
    session.store(nullptr, std::memory_order_release);
    if (m_stopping.load(std::memory_order_acquire)) return;
    Log(LogLevel::kError, "ChannelLost  ErrorCode=%d\n", code);
    FlushLog();
    m_callbacksInPass = true;
    owner.onChannelLost(code == kEventLocalFailure ? kLocalFailureReason : kChannelLostReason);
    EndCallbackBatch();
}

void CApiState::SaveDelivered(CApiSession& reading) {
    assert(reactor->OwnsReactorWork());
    if (!WriteDelivered(reading) && IsCurrent(&reading)) EndAfterFailure(reading);
}

bool CApiState::WriteDelivered(CApiSession& delivering) {
    // With nothing buffered both writes cost nothing.
    try {
        m_log.Flush();
    } catch (const CRuntimeError& error) {
        ReportError(error);
        return false;
    }
    for (FlowSeries series : {kPrivateSeries, kMemberSeries, kMarketSeries})
        if (CSyncPoint* point = delivering.Handler(series).GetSyncPoint()) point->Flush();
    return true;
}

void CApiState::EndCallbackBatch() {
    assert(reactor->OwnsReactorWork());
    if (!m_callbacksInPass) return;
    m_callbacksInPass = false;
    if (batchEnd != nullptr) batchEnd(batchEndContext);
}

void CApiState::EndAfterFailure(CApiSession& failed) {
    assert(reactor->OwnsReactorWork());
    failed.Shutdown(kEventLocalFailure);
}

void CApiState::DeliverReceived(const CXTPPackage& package) {
    assert(reactor->OwnsReactorWork());
    m_callbacksInPass = true;
    const bool handled = DispatchPackage(owner, *this, package);
    const TXTPHeader& header = package.m_XTPHeader;
    if (handled && header.SequenceSeries != kDialogSeries && header.SequenceNo > 0) m_log.Append(package);
}

ETradingDay CApiState::BeginTradingDay(const char* tradeDate, const char* userId, TTRspMsg& failure) {
    assert(reactor->OwnsReactorWork());
    try {
        if (std::strncmp(tradeDate, clock.TradeDate().c_str(), CClockFile::kDateLength) == 0) {
            m_log.Open(userId, true);
            // An older log without origins: each record must be on disk before its sync point.
            m_log.GroupAppends(m_logSetsSyncPoints);
            m_loginFiles.clear();
            return ETradingDay::kResumed;
        }
        // The log goes first: when it cannot be started, the clock still names the old day, and
        // the next login begins the new one again.
        m_log.Open(userId, false);
        m_log.GroupAppends(true);
    } catch (const CRuntimeError& error) {
        ReportError(error);
        DescribeUserFileFailure(CReceivedLog::ContentFileName(userId), failure);
        return ETradingDay::kFailed;
    }
    m_loginFiles.clear();
    clock.SetTradeDate(tradeDate);
    CApiSession* current = session.load(std::memory_order_acquire);
    if (current != nullptr) {
        const CSyncPoint* privatePoint = current->Handler(kPrivateSeries).GetSyncPoint();
        Log(LogLevel::kDiagnostic, "日期变更，修改接收断点! pr=%ld\n", privatePoint ? static_cast<long>(privatePoint->Point().SequenceNo) : 0L);
        FlushLog();
        m_logSetsSyncPoints = true;
        for (FlowSeries series : {kPrivateSeries, kMemberSeries, kMarketSeries}) {
            if (CSyncPoint* point = current->Handler(series).GetSyncPoint()) {
                point->ResetSequence();
                point->DeferWrites(true);
            }
        }
    }
    return ETradingDay::kNew;
}

void CApiState::AbandonSession() {
    assert(reactor->OwnsReactorWork());
    CApiSession* current = session.load(std::memory_order_acquire);
    if (current == nullptr) return;
    RemoveLoginFiles();
    dialogQueue.Clear();
    session.store(nullptr, std::memory_order_release);
    // No longer current, so its end is not a channel loss.
    current->Shutdown(kEventShutdownDone);
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
