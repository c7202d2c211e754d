#include <gtest/gtest.h>

#include <vector>

#include "public/Frame.h"

using namespace quorex;

namespace {

std::vector<std::uint8_t> FrameBytes(std::uint8_t extensionLen, std::uint16_t length, std::uint8_t tag = 9) {
    std::vector<std::uint8_t> bytes = {1, extensionLen, static_cast<std::uint8_t>(length >> 8),
                                       static_cast<std::uint8_t>(length)};
    if (extensionLen >= 2) {
        bytes.push_back(tag);
        bytes.push_back(static_cast<std::uint8_t>(extensionLen - 2));
        bytes.resize(bytes.size() + extensionLen - 2, 0xEE);
    }
    bytes.resize(bytes.size() + length, 0x5A);
    return bytes;
}

int CutBytes(CFramePackage& frame, const std::vector<std::uint8_t>& bytes, std::size_t available) {
    frame.Assign(bytes.data(), available);
    return frame.Cut();
}

}  // namespace

TEST(FrameCut, WaitsUntilTheWholeFrameIsThere) {
    CFramePackage frame;
    const auto empty = FrameBytes(0, 0);
    EXPECT_EQ(CutBytes(frame, empty, 3), 0);
    EXPECT_EQ(CutBytes(frame, empty, 4), 4);
    frame.StripHeader();
    EXPECT_EQ(frame.Length(), 0u);

    const auto full = FrameBytes(0, 4096);
    EXPECT_EQ(CutBytes(frame, full, full.size() - 1), 0);
    EXPECT_EQ(CutBytes(frame, full, full.size()), 4100);
}

TEST(FrameCut, HeaderLimits) {
    CFramePackage frame;
    for (std::uint8_t extension : {std::uint8_t{0}, std::uint8_t{2}, std::uint8_t{127}}) {
        const auto bytes = FrameBytes(extension, 10);
        EXPECT_EQ(CutBytes(frame, bytes, bytes.size()), static_cast<int>(bytes.size())) << int(extension);
        frame.StripHeader();
        EXPECT_EQ(frame.Length(), 10u);
        EXPECT_EQ(frame.Address()[0], 0x5A);
    }
    std::vector<std::uint8_t> header = {1, 0, 0x10, 0x01};  // Length 4097
    EXPECT_EQ(CutBytes(frame, header, 4), -1);
    header = {1, 1, 0, 0};
    EXPECT_EQ(CutBytes(frame, header, 4), -1);
    header = {1, 128, 0, 0};
    EXPECT_EQ(CutBytes(frame, header, 4), -1);
    header = {1, 0xFF, 0xFF, 0xFF};  // values that would turn negative if read as signed
    EXPECT_EQ(CutBytes(frame, header, 4), -1);
}

TEST(FrameCut, HeartbeatsAreOnlyEmptyTagFiveExtensions) {
    CFramePackage frame;
    const auto heartbeat = FrameBytes(2, 0, kHeartbeatTag);
    ASSERT_EQ(CutBytes(frame, heartbeat, heartbeat.size()), 6);
    EXPECT_TRUE(frame.IsHeartbeat());
    const auto withData = FrameBytes(3, 0, kHeartbeatTag);
    ASSERT_EQ(CutBytes(frame, withData, withData.size()), 7);
    EXPECT_FALSE(frame.IsHeartbeat());
    const auto otherTag = FrameBytes(2, 0, 4);
    ASSERT_EQ(CutBytes(frame, otherTag, otherTag.size()), 6);
    EXPECT_FALSE(frame.IsHeartbeat());
}

TEST(FrameCut, StreamSplitAtEveryBoundary) {
    std::vector<std::uint8_t> stream;
    std::vector<int> lengths;
    for (const auto& piece : {FrameBytes(0, 0), FrameBytes(2, 0, kHeartbeatTag), FrameBytes(5, 3), FrameBytes(0, 70)}) {
        stream.insert(stream.end(), piece.begin(), piece.end());
        lengths.push_back(static_cast<int>(piece.size()));
    }
    // Feed the stream in two reads split at every position; the frames cut must be the same.
    for (std::size_t split = 0; split <= stream.size(); ++split) {
        std::vector<std::uint8_t> buffered;
        std::vector<int> cut;
        for (const auto& read : {std::vector<std::uint8_t>(stream.begin(), stream.begin() + split),
                                 std::vector<std::uint8_t>(stream.begin() + split, stream.end())}) {
            buffered.insert(buffered.end(), read.begin(), read.end());
            CFramePackage frame;
            int result;
            while (!buffered.empty() && (result = CutBytes(frame, buffered, buffered.size())) > 0) {
                cut.push_back(result);
                buffered.erase(buffered.begin(), buffered.begin() + result);
            }
        }
        EXPECT_EQ(cut, lengths) << "split at " << split;
        EXPECT_TRUE(buffered.empty());
    }
}

TEST(FrameEncode, HeaderTypeSwitchAndHeartbeat) {
    CPackage package;
    package.Allocate(64);
    package.Prepend(10);
    CFrameEncoder encoder;
    ASSERT_TRUE(encoder.Encode(package));
    EXPECT_EQ(std::vector<std::uint8_t>(package.Address(), package.Address() + 4), (std::vector<std::uint8_t>{1, 0, 0, 10}));

    encoder.SwitchType(1);
    EXPECT_EQ(encoder.GetType(), kFrameTypeSwitched);
    ASSERT_TRUE(encoder.Encode(package));
    EXPECT_EQ(package.Address()[0], 3);
    EXPECT_EQ(package.Address()[3], 14);
    encoder.SwitchType(0);
    EXPECT_EQ(encoder.GetType(), kFrameTypeNormal);

    ASSERT_TRUE(CFrameEncoder::MakeHeartbeat(package));
    EXPECT_EQ(std::vector<std::uint8_t>(package.Address(), package.Address() + package.Length()),
              (std::vector<std::uint8_t>{1, 2, 0, 0, 5, 0}));

    CPackage tooSmall;
    tooSmall.Allocate(3);
    EXPECT_FALSE(encoder.Encode(tooSmall));
}
