// The library's tables as plain rows for the reference documentation: records with their
// members, package types with their fields, request methods and callbacks, and how the logins
// fill their records. ReferenceTables.cpp is the one place where the .def files are expanded for
// the documentation; everything else formats these rows. Built once, read-only afterwards; any thread may read them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorex::reference {

struct MemberRow {
    std::string name;
    std::string type;  // "text 14", "char", "int16", "int32", "double", "uint8", "uint16", "uint32"
    std::uint32_t width = 0;  // bytes on the wire; 0 for a member kept in memory only
    std::uint32_t wireOffset = 0;
    std::size_t memoryOffset = 0;
    bool onWire = true;
};

struct RecordRow {
    std::string name;
    bool header = false;  // a header descriptor (field ID 0), not a field of packages
    std::uint16_t fieldId = 0;
    std::uint32_t wireLength = 0;
    std::size_t memorySize = 0;
    std::vector<MemberRow> members;
};

struct PackageField {
    std::uint16_t fieldId = 0;
    std::string record;
};

struct PackageRow {
    std::uint32_t tid = 0;
    std::string identifier;  // the constant quorex::tid::<identifier>
    std::string name;        // UTF-8
    std::vector<PackageField> fields;
};

struct RequestRow {
    std::string apiClass;  // "CTraderApi" or "CAdminApi"
    std::string method;
    std::uint32_t tid = 0;
    std::vector<std::string> records;
    // The last record is a list ended by the first item with an empty indentNo.
    bool lastIsList = false;
    // Written by hand in Api.h rather than expanded from requests.def (the logins).
    bool handWritten = false;
};

struct CallbackRow {
    int slot = 0;
    std::string name;
    std::string record;  // record argument; for the hand-written slots a short description
    std::uint32_t tid = 0;  // package delivered; 0 when the callback is not tied to a package
    std::string kind;       // "response", "delivery", "login" or "special"
    std::string redeclaredBy;  // "CTraderApi", "CAdminApi", "both" or ""
    bool handWritten = false;
};

// A member of a login record, with what a caller needs to know about it ("" when its name says
// it all).
struct MemberNote {
    std::string member;
    std::string note;
};

// How a login request's record is filled: the login builds the record it sends itself, taking
// some members from the caller's record, setting others, and sending every other member as zero.
struct LoginRow {
    std::string apiClass;
    std::string method;
    std::string record;
    std::vector<MemberNote> filledByCaller;
    std::vector<MemberNote> setByLibrary;
};

std::vector<RecordRow> Records();
std::vector<PackageRow> Packages();
std::vector<RequestRow> Requests();
std::vector<CallbackRow> Callbacks();
std::vector<LoginRow> Logins();

}  // namespace quorex::reference
