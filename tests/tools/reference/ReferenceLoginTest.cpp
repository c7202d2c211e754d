// The reference's account of the login records (what the caller fills, what the library sets,
// what goes out as zero) against what the library sends: each login is made with every member of
// the caller's record filled, against a scripted exchange, and each member of the record sent is
// classified by its bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "api/ApiTestSupport.h"
#include "api/FakeExchange.h"
#include "quorex/quorex.h"
#include "tools/reference/ReferenceWriter.h"

using namespace quorex::reference;

namespace {

constexpr char kFill = 'A';
constexpr const char* kUserId = "AAAAAAAA";  // what filling the 8-character ID gives
constexpr const char* kClockDate = "20260105";

const LoginRow& LoginOf(const Tables& tables, const std::string& method) {
    const auto found = std::find_if(tables.logins.begin(), tables.logins.end(),
                                    [&](const LoginRow& login) { return login.method == method; });
    EXPECT_NE(found, tables.logins.end()) << method;
    return *found;
}

const RecordRow& RecordOf(const Tables& tables, const std::string& name) {
    const auto found = std::find_if(tables.records.begin(), tables.records.end(),
                                    [&](const RecordRow& record) { return record.name == name; });
    EXPECT_NE(found, tables.records.end()) << name;
    return *found;
}

bool Lists(const std::vector<MemberNote>& members, const std::string& name) {
    return std::any_of(members.begin(), members.end(), [&](const MemberNote& note) { return note.member == name; });
}

class ReferenceLogin : public quorex::test::CWorkingDirectoryTest {
protected:
    // Logs in with a record whose every member holds kFill bytes, the user's clock file holding
    // kClockDate, and checks each member of the record that reached the exchange.
    template <class Record, class Api>
    void Check(const std::string& method, const char* clockPattern, int (Api::*login)(const Record*, const char*)) {
        const Tables tables = LibraryTables();
        const LoginRow& row = LoginOf(tables, method);
        const RecordRow& layout = RecordOf(tables, row.record);
        Record caller{};
        auto* callerBytes = reinterpret_cast<unsigned char*>(&caller);
        for (const MemberRow& member : layout.members) std::memset(callerBytes + member.memoryOffset, kFill, member.width);
        std::ofstream(quorex::UserFileName(clockPattern, kUserId), std::ios::binary).write(kClockDate, 9).write("\0\0\0\0\0\0\0\0", 9);

        quorex::test::CFakeExchange exchange;
        Api api;
        ASSERT_EQ(api.initApi(), 0);
        api.SetService("127.0.0.1", exchange.Port());
        ASSERT_EQ((api.*login)(&caller, nullptr), 0);
        ASSERT_TRUE(exchange.Accept());
        const auto request = exchange.Receive();
        ASSERT_TRUE(request);
        Record sent{};
        ASSERT_TRUE(request->package->GetRecord(sent));
        const auto* sentBytes = reinterpret_cast<const unsigned char*>(&sent);
        for (const MemberRow& member : layout.members) {
            const unsigned char* bytes = sentBytes + member.memoryOffset;
            std::string origin = "library";
            if (std::memcmp(bytes, callerBytes + member.memoryOffset, member.width) == 0) origin = "caller";
            else if (std::all_of(bytes, bytes + member.width, [](unsigned char byte) { return byte == 0; })) origin = "zero";
            const std::string documented = Lists(row.filledByCaller, member.name)  ? "caller"
                                           : Lists(row.setByLibrary, member.name) ? "library"
                                                                                  : "zero";
            EXPECT_EQ(origin, documented) << row.record << "::" << member.name;
        }
    }
};

TEST_F(ReferenceLogin, TheTraderLoginSendsWhatTheReferenceSays) {
    Check<TReqTraderLogin, CTraderApi>("ReqTraderLogin", "T_CLOCK%s.dat", &CTraderApi::ReqTraderLogin);
}

TEST_F(ReferenceLogin, TheMonitorLoginSendsWhatTheReferenceSays) {
    Check<TReqUserLogin, CAdminApi>("ReqUserLogin", "A_CLOCK%s.dat", &CAdminApi::ReqUserLogin);
}

TEST(ReferenceLoginText, TheMembersSentAsZeroAreTheRestAndTheRowsAreChecked) {
    std::ostringstream out;
    WriteReference(LibraryTables(), out);
    EXPECT_NE(out.str().find("; `tradeTime`, `localOrderNo` and `machineID` are sent as zero, whatever the caller's "
                             "record holds."),
              std::string::npos);

    Tables tables = LibraryTables();
    tables.logins.push_back({"CAdminApi", "ReqUserLogin", "TReqUserLogin", {{"userName", ""}}, {}});
    tables.logins.push_back({"CTraderApi", "ReqTraderLogon", "TReqTraderLogin", {}, {}});
    EXPECT_EQ(FindInconsistencies(tables),
              (std::vector<std::string>{"CAdminApi::ReqUserLogin: TReqUserLogin has no member userName",
                                        "CTraderApi::ReqTraderLogon: no such request taking TReqTraderLogin"}));
}

}  // namespace
