#include "public/Frame.h"

#include "public/RecordTraits.h"

namespace quorex {

bool CFrameEncoder::Encode(CPackage& payload) const {
    if (payload.Length() > kMaxFrameLength) return false;
    std::uint8_t* header = payload.Prepend(kFrameHeaderLength);
    if (header == nullptr) return false;
    const TFrameHeader frame{m_type, 0, static_cast<std::uint16_t>(payload.Length() - kFrameHeaderLength)};
    RecordTraits<TFrameHeader>::Encode(frame, header);
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

