#include "public/Frame.h"

#include "public/RecordTraits.h"
#include "public/WireBytes.h"

namespace quorex {

bool CFrameEncoder::Encode(CPackage& payload) const {
    if (payload.Length() > kMaxFrameLength) return false;
    std::uint8_t* header = payload.Prepend(kFrameHeaderLength);
    if (header == nullptr) return false;
    // Type, ExtensionLen 0 and Length written as one big-endian word: one store instead of three.
    const auto length = static_cast<std::uint32_t>(payload.Length() - kFrameHeaderLength);
    wire::PutU32(header, static_cast<std::uint32_t>(m_type) << 24 | length);
    return true;
}

bool CFrameEncoder::MakeHeartbeat(CPackage& package) {
    package.ResetToEnd();
    std::uint8_t* frame = package.Prepend(kHeartbeatFrameLength);
    if (frame == nullptr) return false;
    RecordTraits<TFrameHeader>::Encode(TFrameHeader{kFrameTypeNormal, 2, 0}, frame);
    frame[4] = kHeartbeatTag;
    frame[5] = 0;
    return true;
}

}  // namespace quorex

