// The expansions of records.def, packages.def, requests.def and callbacks.def for the reference.
// When a .def file gains a column, only its macro here changes.
#include "tools/reference/ReferenceTables.h"

#include <cstddef>
#include <utility>

#include "public/RecordTraits.h"
#include "quorex/Records.h"

namespace quorex::reference {
namespace {

MemberRow Member(const char* name, std::string type, std::uint32_t width, std::size_t memoryOffset) {
    return MemberRow{name, std::move(type), width, 0, memoryOffset, width != 0};
}

std::string TextType(std::uint32_t width) { return "text " + std::to_string(width); }

// Wire offsets follow from the widths: members are packed in order.
RecordRow WithWireOffsets(RecordRow record) {
    std::uint32_t offset = 0;
    for (MemberRow& member : record.members) {
        if (!member.onWire) continue;
        member.wireOffset = offset;
        offset += member.width;
    }
    return record;
}

template <class... Records>
PackageRow Package(std::uint32_t tid, const char* identifier, const char* name) {
    return PackageRow{tid, identifier, name, {PackageField{RecordTraits<Records>::kFieldID,
                                               RecordTraits<Records>::kDescriptor.GetRecordName()}...}};
}

}  // namespace

std::vector<RecordRow> Records() {
#define QX_C(name, n) Member(#name, TextType(n), n, offsetof(Rec, name)),
#define QX_C1(name) Member(#name, "char", 1, offsetof(Rec, name)),
#define QX_U8(name) Member(#name, "uint8", 1, offsetof(Rec, name)),
#define QX_LOCAL_C1(name) Member(#name, "char", 0, offsetof(Rec, name)),
#define QX_W(name) Member(#name, "int16", 2, offsetof(Rec, name)),
#define QX_U16(name) Member(#name, "uint16", 2, offsetof(Rec, name)),
#define QX_I(name) Member(#name, "int32", 4, offsetof(Rec, name)),
#define QX_U32(name) Member(#name, "uint32", 4, offsetof(Rec, name)),
#define QX_D(name) Member(#name, "double", 8, offsetof(Rec, name)),
#define QX_ROW(Name, isHeader, FieldID, WireBytes, ...)                                        \
    [] {                                                                                       \
        using Rec = Name;                                                                      \
        return WithWireOffsets(RecordRow{#Name, isHeader, FieldID, WireBytes, sizeof(Rec), {__VA_ARGS__}}); \
    }(),
#define QX_RECORD(Name, FieldID, WireBytes, ...) QX_ROW(Name, false, FieldID, WireBytes, __VA_ARGS__)
#define QX_HEADER(Name, WireBytes, ...) QX_ROW(Name, true, 0, WireBytes, __VA_ARGS__)
    return {
#include "quorex/records.def"
    };
#undef QX_HEADER
#undef QX_RECORD
#undef QX_ROW
#undef QX_D
#undef QX_U32
#undef QX_I
#undef QX_U16
#undef QX_W
#undef QX_LOCAL_C1
#undef QX_U8
#undef QX_C1
#undef QX_C
}

std::vector<PackageRow> Packages() {
#define QX_PACKAGE(tid, identifier, name, ...) Package<__VA_ARGS__>(tid, #identifier, name),
    return {
#include "api/packages.def"
    };
#undef QX_PACKAGE
}

std::vector<RequestRow> Requests() {
    // The logins connect and subscribe, so Api.h declares them by hand; their packages are checked
    // against the catalogue like every other row.
    std::vector<RequestRow> rows{
        {"CTraderApi", "ReqTraderLogin", 0x00000011, {"TReqTraderLogin"}, false, true},
        {"CAdminApi", "ReqUserLogin", 0x00000441, {"TReqUserLogin"}, false, true},
    };
#define QX_CLASS_TRADER "CTraderApi"
#define QX_CLASS_ADMIN "CAdminApi"
#define QX_REQUEST(cls, Method, Tid, Record) rows.push_back({QX_CLASS_##cls, #Method, Tid, {#Record}, false, false});
#define QX_REQUEST_PAIR(cls, Method, Tid, Record, Second) \
    rows.push_back({QX_CLASS_##cls, #Method, Tid, {#Record, #Second}, false, false});
#define QX_REQUEST_LIST(cls, Method, Tid, Record, Item) \
    rows.push_back({QX_CLASS_##cls, #Method, Tid, {#Record, #Item}, true, false});
#include "quorex/requests.def"
#undef QX_REQUEST_LIST
#undef QX_REQUEST_PAIR
#undef QX_REQUEST
#undef QX_CLASS_ADMIN
#undef QX_CLASS_TRADER
    return rows;
}

std::vector<CallbackRow> Callbacks() {
    // Slots 0 to 4 and 142 have their own signatures and are declared by hand in Api.h.
    std::vector<CallbackRow> rows{
        {0, "onChannelLost", "text \"channel disconnect\"", 0, "special", "both", true},
        {1, "onException", "text (never called)", 0, "special", "both", true},
        {2, "onRecvSysErrorNtf", "TTRspMsg only", 0x02002002, "special", "both", true},
        {3, "onRecvReqSendOver", "none", 0x00000EC1, "special", "CTraderApi", true},
        {4, "onRecvIcCardPwd", "BYTEARRAY<32>&, short, short (never called)", 0, "special", "", true},
    };
#define QX_KIND_RESPONSE "response"
#define QX_KIND_DELIVERY "delivery"
#define QX_KIND_LOGIN "login"
#define QX_BY_TRADER "CTraderApi"
#define QX_BY_ADMIN "CAdminApi"
#define QX_BY_BOTH "both"
#define QX_BY_NONE ""
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) \
    rows.push_back({slot, #name, #Record, Tid, QX_KIND_##kind, QX_BY_##by, false});
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef QX_BY_NONE
#undef QX_BY_BOTH
#undef QX_BY_ADMIN
#undef QX_BY_TRADER
#undef QX_KIND_LOGIN
#undef QX_KIND_DELIVERY
#undef QX_KIND_RESPONSE
    rows.push_back({142, "onRecvIcCardPwd", "BYTEARRAY<32>&, short&, short (CTraderApi's own; never called)", 0,
                    "special", "", true});
    return rows;
}

std::vector<LoginRow> Logins() {
    // What the login calls copy from the caller's record and what they set (api/ApiLogin.cpp); a
    // test logs in against a scripted exchange and checks the rows against the record sent.
    const MemberNote password{"password", "the 32 lower-case hexadecimal digits of the password's MD5 digest, "
                                          "`quorex::PasswordDigest(password)`"};
    const MemberNote tradeDate{"tradeDate", "the trade date of the user's last successful login, from its clock "
                                            "file; empty at the first login"};
    return {
        {"CTraderApi", "ReqTraderLogin", "TReqTraderLogin",
         {{"traderID", ""}, {"memberID", ""}, password, {"ipAddress", "the trader's IP address as text"}},
         {tradeDate}},
        {"CAdminApi", "ReqUserLogin", "TReqUserLogin",
         {{"userID", ""}, password, {"operatorType", ""}},
         {tradeDate}},
    };
}

}  // namespace quorex::reference
