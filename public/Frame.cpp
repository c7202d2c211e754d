#include "public/Frame.h"

#include "public/RecordTraits.h"
#include "public/WireBytes.h"

namespace quorex {

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

