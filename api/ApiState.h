// CApiState: everything behind a CApi: its reactor, the current session, the dialog flow's request
// queue, the user's clock file and received-package log, and the dispatch of received packages.
// Owned by the CApi.
//
// Thread contract: QueueRequest may be called from any thread; it reads the session pointer (an
// atomic, set by the login call and cleared on the reactor thread) only to compare it with null.
// The request queue lives here rather than in the session, so a request racing with a channel loss
// never touches a session that is being destroyed. Login runs on the caller's thread; the rest
// runs on the reactor thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "api/APIHandler.h"
#include "api/ClockFile.h"
#include "api/ReceivedLog.h"
#include "api/RequestQueue.h"
#include "api/UserFiles.h"
#include "public/Reactor.h"
#include "quorex/Api.h"

namespace quorex {

class CApiSession;

struct CApiState final : public CDispatchContext, public CEventTarget {
    explicit CApiState(CApi& api) : owner(api) {}

    // Builds a request into the dialog flow's queue and wakes the reactor to send it: 0, or -1
    // when there is no session or fill could not add every record (it returns whether it could).
    template <class Fill>
    int QueueRequest(std::uint32_t tid, const char* requestId, Fill fill) {
        if (session.load(std::memory_order_acquire) == nullptr || reactor == nullptr) return -1;
        if (!dialogQueue.Build(tid, requestId, fill)) return -1;
        reactor->Wakeup();
        return 0;
    }

    // The login call: connects to the first server that answers, builds the session and sends the
    // login package. 0, -1 (no server answered, or the user's files failed), -2 (already connected).
    template <class LoginRecord>
    int Login(const LoginRecord& request, const char* requestId, const TUserFilePatterns& files);

    // Stops the reactor thread and ends the session without telling the user; idempotent.
    void Stop();

    // Reactor thread: a package received on a flow, or replayed from the log.
    void DeliverReceived(const CXTPPackage& package);
    // Whether the session is the current one; packages of a session let go reach nobody.
    bool IsCurrent(const CApiSession* candidate) const { return session.load(std::memory_order_acquire) == candidate; }
    // Reactor thread: a received package could not be handled (a user file failed, a callback
    // raised a library error; the error has been reported): the session ends with a channel loss.
    void EndAfterFailure(CApiSession& failed);
    // Reactor thread: the session's connection has ended with an event code. Only the end of the
    // current session is a channel loss; a session let go before ends quietly.
    void OnSessionEnded(CApiSession* ended, int code);

    ETradingDay BeginTradingDay(const char* tradeDate, const char* userId, TTRspMsg& failure) override;
    void AbandonSession() override;
    void ReplayReceivedLog() override;
    void AcknowledgeStandardData() override;
    // Synchronous call 0x4001 from the login call: sends the login package on the dialog flow of
    // the current session.
    int HandleEvent(int code, int param, void* data) override;

    // Reactor thread, at the end of each pass of a session: writes what the pass left buffered (see
    // WriteDelivered). A log that cannot be written ends the session with a local failure.
    void SaveDelivered(CApiSession& reading);
    // Reactor thread: the pass that made callbacks is over; tells the host once.
    void EndCallbackBatch();

    CApi& owner;
    CApi::CallbackBatchEnd batchEnd = nullptr;  // set before the reactor starts
    void* batchEndContext = nullptr;
    std::unique_ptr<CReactor> reactor;
    std::atomic<CApiSession*> session{nullptr};
    CRequestQueue dialogQueue;
    CClockFile clock;

private:
    std::unique_ptr<CApiSession> Connect();
    // Opens the user's clock and sync files, noting the ones this login creates, and puts the sync
    // points where the received log says the user's packages end.
    void OpenUserFiles(CApiSession& newSession, const char* userId, const TUserFilePatterns& files);
    // Opens (creating) one file through open, noting it when it did not exist before.
    template <class Open>
    void OpenNoting(const std::string& path, Open open);
    // Removes the files this login created, once it is clear that it will not succeed: a login the
    // exchange refused leaves nothing behind.
    void RemoveLoginFiles();
    bool Adopt(std::unique_ptr<CApiSession> newSession);

    // Writes the buffered received log, then the session's deferred sync points (the next login
    // sets the points from the log, so the log goes first). False, reported, when the log fails.
    bool WriteDelivered(CApiSession& delivering);

    CReceivedLog m_log;
    bool m_callbacksInPass = false;
    // Whether the next login can set the sync points from the received log: then the log's appends
    // and the sync files' writes wait for the end of the pass, the log written first.
    bool m_logSetsSyncPoints = false;
    // Files created by the login call whose answer has not come yet. Written by the login call
    // before the session is published, then used on the reactor thread until the session is let go.
    std::vector<std::string> m_loginFiles;
    CXTPPackage m_acknowledgement;
    std::atomic<bool> m_stopping{false};
};

}  // namespace quorex
