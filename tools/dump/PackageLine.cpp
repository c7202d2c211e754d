#include "tools/dump/PackageLine.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include "public/WireBytes.h"
#include "quorex/Text.h"

namespace quorex::dump {
namespace {

// Escapes the quote that encloses the value, the backslash and control characters.
void AppendEscaped(std::string& out, char c, char quote) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == quote || c == '\\') {
        out += '\\';
        out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        out += escaped;
    } else {
        out += c;
    }
}

std::string QuotedChar(std::uint8_t byte) {
    std::string out = "'";
    if (byte >= 0x80) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        out += escaped;
    } else if (byte != 0) {
        AppendEscaped(out, static_cast<char>(byte), '\'');
    }
    return out + "'";
}

std::string Decimal(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string MemberValue(const CMemberEntry& member, const std::uint8_t* data) {
    const std::uint8_t* p = data + member.wireOffset;
    switch (member.kind) {
    case kKindText:
        if (member.width == 1) return QuotedChar(*p);
        return QuotedText(std::string_view(reinterpret_cast<const char*>(p), member.width));
    case kKindInt16:
        return std::to_string(static_cast<std::int16_t>(wire::LoadU16(p)));
    case kKindInt32:
    case kKindInt32Alt:
        return std::to_string(static_cast<std::int32_t>(wire::LoadU32(p)));
    case kKindFloat64: {
        double value = 0;
        wire::GetF64(p, value);
        return Decimal(value);
    }
    default:
        return "?";
    }
}

std::string RawBytes(std::span<const std::uint8_t> bytes) {
    std::string out = std::to_string(bytes.size()) + " bytes";
    if (!bytes.empty()) out += ":";
    for (const std::uint8_t byte : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        out += hex;
    }
    return out;
}

void AppendRecord(std::string& line, const CFieldDescriptor& descriptor, std::span<const std::uint8_t> data) {
    line += ' ';
    line += descriptor.GetRecordName();
    line += '{';
    if (descriptor.GetWireLength() == 0) {
        line += RawBytes(data);
    } else {
        bool first = true;
        for (const CMemberEntry& member : descriptor.GetMembers()) {
            if (!first) line += ' ';
            first = false;
            line += member.name;
            line += '=';
            line += MemberValue(member, data.data());
        }
    }
    line += '}';
}

std::string TimeText(std::uint32_t time) {
    const std::time_t seconds = time;
    std::tm utc{};
    char text[32];
    if (gmtime_r(&seconds, &utc) == nullptr || std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0)
        return std::to_string(time);
    return text;
}

}  // namespace

std::string QuotedText(std::string_view gbk) {
    std::size_t length = 0;
    while (length < gbk.size() && gbk[length] != '\0') ++length;
    std::string out = "\"";
    for (const char c : GbkToUtf8(gbk.substr(0, length))) AppendEscaped(out, c, '"');
    return out + "\"";
}

std::string PackageLine(const CXTPPackage& package, std::uint32_t time) {
    const TXTPHeader& header = package.m_XTPHeader;
    char tid[16];
    std::snprintf(tid, sizeof tid, "0x%08X", static_cast<unsigned>(header.Tid));
    const CPackageDefinition* definition = package.GetDefinition();

    std::string line = "seq=" + std::to_string(header.SequenceNo) + " tid=" + tid + " ";
    line += definition != nullptr ? definition->name : "(no catalogue entry)";
    line += " time=" + TimeText(time) + " chain=" + QuotedChar(static_cast<std::uint8_t>(header.Chain));
    if (header.RootID[0] != '\0') line += " root=" + QuotedText(header.RootID);
    if (definition == nullptr) {
        line += " content{" + RawBytes({package.Address() + XTPHLEN, header.ContentLength}) + "}";
        return line;
    }
    // Definition order, as the API hands records over; within one field type, package order.
    for (const CFieldDescriptor* descriptor : definition->Fields()) {
        const CFieldRange range = package.GetField(descriptor->GetFieldID());
        if (range.Descriptor() != descriptor) continue;
        for (int k = 0; k < range.Count(); ++k) AppendRecord(line, *descriptor, range.Data(k));
    }
    return line;
}

}  // namespace quorex::dump
