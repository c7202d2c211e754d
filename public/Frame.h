// Frames: the envelope of every XTP package on the TCP stream.
//
//   0      1              2        4                    4 + ExtensionLen
//   +------+--------------+--------+--------------------+---------------------+
//   | Type | ExtensionLen | Length | extension (TLV)    | payload (Length)    |
//   +------+--------------+--------+--------------------+---------------------+
//   Length big-endian, at most 4096; ExtensionLen 0 or 2..127; the extension is
//   tag (1 byte), data length (1 byte), data. Tag 5 without data marks a heartbeat.
//
// CFramePackage cuts frames on the receiving side; CFrameEncoder frames outgoing packages and
// keeps the frame Type switch. Both belong to the thread that runs their connection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "public/Package.h"
#include "public/RecordTraits.h"
#include "public/WireBytes.h"
#include "quorex/Records.h"

namespace quorex {

inline constexpr std::size_t kFrameHeaderLength = 4;
inline constexpr std::size_t kMaxFrameLength = 4096;
inline constexpr std::uint8_t kMaxExtensionLength = 127;
inline constexpr std::uint8_t kHeartbeatTag = 5;
inline constexpr std::size_t kHeartbeatFrameLength = 6;
inline constexpr std::uint8_t kFrameTypeNormal = 1;
inline constexpr std::uint8_t kFrameTypeSwitched = 3;
// The longest frame a peer may send: header, longest extension, longest payload.
inline constexpr std::size_t kMaxWholeFrameLength = kFrameHeaderLength + kMaxExtensionLength + kMaxFrameLength;

class CFramePackage : public CPackage {
public:
    // Cuts one frame from the front of the window: the frame's total length (and the window is
    // shortened to that frame), 0 when more bytes are needed, -1 when the header is invalid
    // (Length above 4096, ExtensionLen 1 or above 127).
    int Cut() {
        if (Length() < kFrameHeaderLength) return 0;
        // The whole header in one load and one store: Type and ExtensionLen keep their bytes,
        // Length turns from big-endian to the host's order.
        std::uint32_t header;
        std::memcpy(&header, Address(), sizeof header);
        static_assert(sizeof m_FrameHeader == sizeof header && offsetof(TFrameHeader, Length) == 2);
        header = (header & 0xFFFF) | std::uint32_t{__builtin_bswap16(static_cast<std::uint16_t>(header >> 16))} << 16;
        std::memcpy(&m_FrameHeader, &header, sizeof header);
        if (m_FrameHeader.Length > kMaxFrameLength) return -1;
        if (m_FrameHeader.ExtensionLen == 1 || m_FrameHeader.ExtensionLen > kMaxExtensionLength) return -1;
        const std::size_t frameLength = kFrameHeaderLength + m_FrameHeader.ExtensionLen + m_FrameHeader.Length;
        if (!Truncate(frameLength)) return 0;
        return static_cast<int>(frameLength);
    }
    // True for a cut frame whose extension is tag 5 without data.
    bool IsHeartbeat() const {
        return m_FrameHeader.ExtensionLen == 2 && Address()[kFrameHeaderLength] == kHeartbeatTag;
    }
    // Removes the frame header and extension of a cut frame: the window is the payload.
    void StripHeader() { Pop(kFrameHeaderLength + m_FrameHeader.ExtensionLen); }

    TFrameHeader m_FrameHeader{};
};

class CFrameEncoder {
public:
    // Prepends the frame header (current Type, no extension) to a payload; false when the
    // package has no headroom for it or the payload exceeds 4096 bytes.
    bool Encode(CPackage& payload) const {
        if (payload.Length() > kMaxFrameLength) return false;
        std::uint8_t* header = payload.Prepend(kFrameHeaderLength);
        if (header == nullptr) return false;
        // Type, ExtensionLen 0 and Length written as one big-endian word: one store instead of three.
        const auto length = static_cast<std::uint32_t>(payload.Length() - kFrameHeaderLength);
        wire::PutU32(header, static_cast<std::uint32_t>(m_type) << 24 | length);
        return true;
    }
    // Replaces the package's window with a heartbeat frame (6 bytes, Type 1).
    static bool MakeHeartbeat(CPackage& package);
    // The frame-type control: a non-zero flag makes later frames Type 3, zero back to Type 1.
    void SwitchType(std::uint8_t flag) { m_type = flag != 0 ? kFrameTypeSwitched : kFrameTypeNormal; }
    std::uint8_t GetType() const { return m_type; }

private:
    std::uint8_t m_type = kFrameTypeNormal;
};

}  // namespace quorex
