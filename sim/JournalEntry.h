// One entry of the exchange's request journal (CRequestJournal), which is one record of its flow
// files. The layout is shared by the exchange, which writes and replays the journal, and
// quorex-dump, which prints it:
//
//   0      1          9      10    12       16                          16 + n        24 + n
//   +------+----------+------+-----+--------+---------------------------+-------------+
//   | role | HH:MM:SS | form | 0 0 | user   | the request in wire form  | digest      |
//   | T/M  | time     | 0/1  |     | index  | (XTP header and content)  | (form 1)    |
//   +------+----------+------+-----+--------+---------------------------+-------------+
//
// role 'T' for a trader, 'M' for a monitor user; user is the index of the trader or monitor user
// in the day's configuration; the time is the time of day the exchange wrote into whatever the
// request produced. Form 1 ends with the FNV-1a digest of every byte before it, so that a damaged
// entry is found in the journal itself and not blamed on a flow whose packages it no longer gives.
// Form 0 (no digest) is what earlier versions wrote; such entries are still read. Integers are in
// host byte order, as everywhere in the flow files.
//
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "public/XTPPackage.h"
#include "sim/Digest.h"

namespace quorex::sim::journal {

inline constexpr std::size_t kHeaderLength = 16;
inline constexpr std::size_t kDigestLength = 8;
inline constexpr std::uint8_t kFormPlain = 0;
inline constexpr std::uint8_t kFormDigest = 1;
inline constexpr char kRoleTrader = 'T';
inline constexpr char kRoleMonitor = 'M';
// The longest entry: a request of the largest payload with header and digest.
inline constexpr std::size_t kMaxEntryLength = kHeaderLength + kMaxPayloadLength + kDigestLength;

struct CEntry {
    char role = 0;  // kRoleTrader or kRoleMonitor
    char time[9] = {};
    std::uint32_t user = 0;
    bool hasDigest = false;
    std::span<const std::uint8_t> request;  // within the decoded record
};

// Makes record (its capacity reused) the form-1 entry of a request.
inline void EncodeEntry(std::vector<std::uint8_t>& record, char role, const char (&time)[9], std::uint32_t user,
                        std::span<const std::uint8_t> request) {
    record.assign(kHeaderLength, 0);
    record[0] = static_cast<std::uint8_t>(role);
    std::memcpy(record.data() + 1, time, 8);
    record[9] = kFormDigest;
    std::memcpy(record.data() + 12, &user, 4);
    record.insert(record.end(), request.begin(), request.end());
    const std::uint64_t digest = Fnv1a64(record);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&digest);
    record.insert(record.end(), bytes, bytes + kDigestLength);
}

// Decodes a record into entry (its request still to be parsed). Returns what is wrong with the
// record, or an empty text when it is an entry the exchange wrote.
inline std::string DecodeEntry(std::span<const std::uint8_t> record, CEntry& entry) {
    if (record.size() < kHeaderLength + XTPHLEN) {
        return "its " + std::to_string(record.size()) + " bytes are too few for an entry";
    }
    const std::uint8_t form = record[9];
    if (form != kFormPlain && form != kFormDigest) return "its form " + std::to_string(form) + " is unknown";
    std::size_t end = record.size();
    if (form == kFormDigest) {
        if (end < kHeaderLength + XTPHLEN + kDigestLength) return "its digest is missing";
        end -= kDigestLength;
        std::uint64_t stored = 0;
        std::memcpy(&stored, record.data() + end, kDigestLength);
        if (Fnv1a64(record.first(end)) != stored) return "its digest does not match its bytes";
    }
    if (record[0] != kRoleTrader && record[0] != kRoleMonitor) return "its role is neither trader ('T') nor monitor ('M')";
    if (record[10] != 0 || record[11] != 0) return "its reserved bytes are not zero";
    entry.role = static_cast<char>(record[0]);
    std::memcpy(entry.time, record.data() + 1, 8);
    entry.time[8] = '\0';
    std::memcpy(&entry.user, record.data() + 12, 4);
    entry.hasDigest = form == kFormDigest;
    entry.request = record.subspan(kHeaderLength, end - kHeaderLength);
    // Checked here, before a parse that would print a diagnostic line of its own.
    TXTPHeader header{};
    RecordTraits<TXTPHeader>::Decode(header, entry.request.data());
    if (header.ContentLength != entry.request.size() - XTPHLEN) {
        return "its request's header gives ContentLength " + std::to_string(header.ContentLength) + ", but " +
               std::to_string(entry.request.size() - XTPHLEN) + " content bytes follow";
    }
    return {};
}

}  // namespace quorex::sim::journal
