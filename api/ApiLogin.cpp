// The login calls of CTraderApi and CAdminApi: connect, build the session, open the user's clock
// and sync files, and send the login package with one subscription point per sequenced flow.
#include <array>
#include <cstring>
#include <string>
#include <type_traits>

#include "api/ApiSession.h"
#include "api/ApiState.h"
#include "public/ErrorReport.h"
#include "public/PackageTypes.h"
#include "quorex/Text.h"

namespace quorex {
namespace {

// What differs between the trader's and the administrator's login.
template <class LoginRecord>
struct LoginTraits;

template <>
struct LoginTraits<TReqTraderLogin> {
    static constexpr std::uint32_t kTid = tid::ReqTraderLogin;
    static std::string UserId(const TReqTraderLogin& login) { return std::string(FieldText(login.traderID)); }
    // The caller's identity and address; the trade date is the clock file's; the rest is zero.
    static TReqTraderLogin Record(const TReqTraderLogin& caller, const char* tradeDate) {
        TReqTraderLogin record{};
        std::memcpy(record.traderID, caller.traderID, sizeof record.traderID);
        std::memcpy(record.memberID, caller.memberID, sizeof record.memberID);
        std::memcpy(record.password, caller.password, sizeof record.password);
        std::memcpy(record.ipAddress, caller.ipAddress, sizeof record.ipAddress);
        std::memcpy(record.tradeDate, tradeDate, strnlen(tradeDate, sizeof record.tradeDate - 1));
        return record;
    }
};

template <>
struct LoginTraits<TReqUserLogin> {
    static constexpr std::uint32_t kTid = tid::ReqUserLogin;
    static std::string UserId(const TReqUserLogin& login) { return std::string(FieldText(login.userID)); }
    static TReqUserLogin Record(const TReqUserLogin& caller, const char* tradeDate) {
        TReqUserLogin record{};
        std::memcpy(record.userID, caller.userID, sizeof record.userID);
        std::memcpy(record.password, caller.password, sizeof record.password);
        record.operatorType = caller.operatorType;
        std::memcpy(record.tradeDate, tradeDate, strnlen(tradeDate, sizeof record.tradeDate - 1));
        return record;
    }
};

// One subscription point per sequenced flow, in the order private, member, market: the exchange
// resumes each flow after the last package its handler delivered.
std::array<TSequencePoint, 3> SubscriptionPoints(const CApiSession& session) {
    std::array<TSequencePoint, 3> points{};
    int i = 0;
    for (FlowSeries series : {kPrivateSeries, kMemberSeries, kMarketSeries}) {
        const CSyncPoint* point = session.Handler(series).GetSyncPoint();
        points[i++] = TSequencePoint{static_cast<std::int16_t>(series),
                                     static_cast<std::int32_t>(point->Point().SequenceNo)};
    }
    return points;
}

}  // namespace

template <class LoginRecord>
int CApiState::Login(const LoginRecord& request, const char* requestId, const TUserFilePatterns& files) {
    using Traits = LoginTraits<LoginRecord>;
    if (session.load(std::memory_order_acquire) != nullptr) {
        Log(LogLevel::kDiagnostic, "已经登录\n");
        FlushLog();
        return -2;
    }
    if (reactor == nullptr) return -1;
    std::unique_ptr<CApiSession> newSession = Connect();
    FlushLog();
    if (newSession == nullptr) return -1;
    try {
        const std::string userId = Traits::UserId(request);
        OpenUserFiles(*newSession, userId.c_str(), files);
        const LoginRecord record = Traits::Record(request, clock.TradeDate().c_str());
        // Read before the reactor owns the session: afterwards only its thread may touch it.
        const std::array<TSequencePoint, 3> points = SubscriptionPoints(*newSession);
        const auto fill = [&](CXTPPackage& login) {
            bool added = login.AddRecord(record);
            for (const TSequencePoint& point : points) added = login.AddRecord(point) && added;
            return added;
        };
        if constexpr (std::is_same_v<LoginRecord, TReqTraderLogin>) {
            CXTPPackage login;
            login.Prepare(Traits::kTid);
            login.SetRootID(requestId);
            fill(login);
            if (!Adopt(std::move(newSession))) return -1;
            reactor->SyncCall(this, kEventSendPackage, 0, &login);
        } else {
            if (!Adopt(std::move(newSession))) return -1;
            dialogQueue.Build(Traits::kTid, requestId, fill);
            reactor->Wakeup();
        }
        return 0;
    } catch (const CDesignError& error) {
        ReportError(error);
    } catch (const CRuntimeError& error) {
        ReportError(error);
    }
    RemoveLoginFiles();
    return -1;
}

}  // namespace quorex

int CTraderApi::ReqTraderLogin(const TReqTraderLogin* login, const char* requestId) {
    if (login == nullptr) return -1;
    return m_pState->Login(*login, requestId, quorex::kTraderFiles);
}

int CAdminApi::ReqUserLogin(const TReqUserLogin* login, const char* requestId) {
    if (login == nullptr) return -1;
    return m_pState->Login(*login, requestId, quorex::kAdminFiles);
}
