// Setting and reading record members by their names, from the member tables that RecordTraits
// generates; the configuration loader fills records this way, so a configuration key is simply the
// member's name. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "public/RecordTraits.h"

namespace quorex::sim {

// A value as read from a configuration file, before it is stored into a member.
struct CFieldValue {
    enum class Kind { kText, kInteger, kFloat } kind = Kind::kText;
    std::string text;  // already in the record's encoding (GBK)
    std::int64_t integer = 0;
    double number = 0;
};

// Stores value into the member called name. False with error set when the record has no such
// member, the kind does not fit the member, a number is out of range or a text is too long.
template <class Record>
bool SetMember(Record& record, std::string_view name, const CFieldValue& value, std::string& error) {
    for (const CMemberEntry& member : RecordTraits<Record>::kMembers) {
        if (name != member.name) continue;
        auto* place = reinterpret_cast<std::uint8_t*>(&record) + member.memberOffset;
        switch (member.kind) {
            case kKindText:
                if (value.kind != CFieldValue::Kind::kText) {
                    error = "'" + std::string(name) + "' must be a text";
                    return false;
                }
                if (value.text.size() > member.width) {
                    // A Chinese character takes two bytes in GBK, a letter or digit one.
                    error = "'" + std::string(name) + "' is " + std::to_string(value.text.size()) + " bytes in GBK, longer than " +
                            (member.width == 1 ? std::string("1 byte (a single letter or digit)")
                                               : std::to_string(member.width) + " bytes (" + std::to_string(member.width / 2) +
                                                     " Chinese characters)");
                    return false;
                }
                // A one-character member has no terminator; a wider one has width + 1 bytes.
                std::memset(place, 0, member.width == 1 ? 1 : member.width + 1);
                std::memcpy(place, value.text.data(), value.text.size());
                return true;
            case kKindInt16:
            case kKindInt32:
            case kKindInt32Alt: {
                const bool wide = member.kind != kKindInt16;
                const std::int64_t low = wide ? INT32_MIN : INT16_MIN;
                const std::int64_t high = wide ? INT32_MAX : INT16_MAX;
                if (value.kind != CFieldValue::Kind::kInteger || value.integer < low || value.integer > high) {
                    error = "'" + std::string(name) + "' must be an integer from " + std::to_string(low) + " to " +
                            std::to_string(high);
                    return false;
                }
                if (wide) {
                    const auto v = static_cast<std::int32_t>(value.integer);
                    std::memcpy(place, &v, sizeof v);
                } else {
                    const auto v = static_cast<std::int16_t>(value.integer);
                    std::memcpy(place, &v, sizeof v);
                }
                return true;
            }
            case kKindFloat64: {
                if (value.kind == CFieldValue::Kind::kText) {
                    error = "'" + std::string(name) + "' must be a number";
                    return false;
                }
                const double v = value.kind == CFieldValue::Kind::kFloat ? value.number : static_cast<double>(value.integer);
                std::memcpy(place, &v, sizeof v);
                return true;
            }
            default:
                break;
        }
    }
    error = "unknown key '" + std::string(name) + "'";
    return false;
}

}  // namespace quorex::sim
