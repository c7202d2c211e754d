#include "public/Frame.h"

#include "public/RecordTraits.h"

namespace quorex {

int CFramePackage::Cut() {
    if (Length() < kFrameHeaderLength) return 0;
    RecordTraits<TFrameHeader>::Decode(m_FrameHeader, Address());
    if (m_FrameHeader.Length > kMaxFrameLength) return -1;
    if (m_FrameHeader.ExtensionLen == 1 || m_FrameHeader.ExtensionLen > kMaxExtensionLength) return -1;
    const std::size_t frameLength = kFrameHeaderLength + m_FrameHeader.ExtensionLen + m_FrameHeader.Length;
    if (!Truncate(frameLength)) return 0;
    return static_cast<int>(frameLength);
}

bool CFramePackage::IsHeartbeat() const {
    return m_FrameHeader.ExtensionLen == 2 && Address()[kFrameHeaderLength] == kHeartbeatTag;
}

void CFramePackage::StripHeader() { Pop(kFrameHeaderLength + m_FrameHeader.ExtensionLen); }

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

