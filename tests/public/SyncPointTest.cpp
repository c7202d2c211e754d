#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "public/ErrorTexts.h"
#include "public/FlowSeries.h"
#include "public/PackageTypes.h"
#include "public/SyncPoint.h"
#include "tests/public/FlowTestSupport.h"

using namespace quorex;

namespace {

TXTPHeader Sequenced(std::uint32_t sequenceNo) {
    TXTPHeader header{};
    header.SequenceSeries = kPrivateSeries;
    header.Chain = 'S';
    header.Tid = tid::RspYqOrderCancel;
    header.SequenceNo = sequenceNo;
    return header;
}

TXTPHeader StoredPoint(const std::string& path) {
    EXPECT_EQ(std::filesystem::file_size(path), sizeof(TXTPHeader));
    TXTPHeader stored{};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(std::fread(&stored, sizeof stored, 1, file), 1u);
    std::fclose(file);
    return stored;
}

void WriteFile(const std::string& path, const void* bytes, std::size_t length) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_EQ(std::fwrite(bytes, 1, length, file), length);
    std::fclose(file);
}

class SyncPointTest : public ::testing::Test {
protected:
    ScratchDirectory dir;
    std::string path = dir.File("t_private0001.dat");
};

TEST_F(SyncPointTest, NewSyncFileHoldsTheNewPoint) {
    CSyncPoint point(kPrivateSeries);
    point.OpenSyncFile(path.c_str());
    EXPECT_EQ(point.Point().SequenceSeries, kPrivateSeries);
    EXPECT_EQ(point.Point().Chain, 'C');
    EXPECT_EQ(point.Point().SequenceNo, 0u);
    EXPECT_EQ(point.Point().Tid, 0u);
    const TXTPHeader stored = StoredPoint(path);
    EXPECT_EQ(0, std::memcmp(&stored, &point.Point(), sizeof stored));
}

TEST_F(SyncPointTest, DropsWhatWasDeliveredAndAdvancesOnNewPackages) {
    CSyncPoint point(kPrivateSeries);
    point.OpenSyncFile(path.c_str());
    point.Advance(Sequenced(10));

    testing::internal::CaptureStdout();
    EXPECT_FALSE(point.Accept(Sequenced(9)));
    EXPECT_FALSE(point.Accept(Sequenced(10)));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Rcv Tid=00000102 Seqseri=3 No=9,m_pSyncPoint No=10\n"
              "Rcv Tid=00000102 Seqseri=3 No=10,m_pSyncPoint No=10\n");

    ASSERT_TRUE(point.Accept(Sequenced(11)));
    point.Advance(Sequenced(11));
    EXPECT_EQ(point.Point().SequenceNo, 11u);
    EXPECT_EQ(point.Point().Chain, 'S');
    EXPECT_EQ(StoredPoint(path).SequenceNo, 11u);

    // Unsequenced packages always pass and never move the point.
    EXPECT_TRUE(point.Accept(Sequenced(0)));
    point.Advance(Sequenced(0));
    EXPECT_EQ(StoredPoint(path).SequenceNo, 11u);
}

TEST_F(SyncPointTest, ReopenedSyncFileKeepsThePoint) {
    {
        CSyncPoint point(kPrivateSeries);
        point.OpenSyncFile(path.c_str());
        point.Advance(Sequenced(41));
    }
    CSyncPoint point(kPrivateSeries);
    point.OpenSyncFile(path.c_str());
    EXPECT_EQ(point.Point().SequenceNo, 41u);
    EXPECT_EQ(point.Point().Tid, tid::RspYqOrderCancel);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(point.Accept(Sequenced(41)));
    testing::internal::GetCapturedStdout();

    point.ResetSequence();
    EXPECT_EQ(point.Point().SequenceNo, 0u);
    EXPECT_EQ(point.Point().SequenceSeries, kPrivateSeries);
    EXPECT_EQ(StoredPoint(path).SequenceNo, 0u);
}

TEST_F(SyncPointTest, DamagedSyncFilesGiveASafePoint) {
    // Cut short while it was created: a new point, and the file gets its 56 bytes.
    const char cut[10] = {3, 'S', 0, 0, 1, 2, 3, 4, 5, 6};
    WriteFile(path, cut, sizeof cut);
    CSyncPoint point(kPrivateSeries);
    point.OpenSyncFile(path.c_str());
    EXPECT_EQ(point.Point().SequenceNo, 0u);
    EXPECT_EQ(point.Point().Chain, 'C');
    EXPECT_EQ(StoredPoint(path).SequenceSeries, kPrivateSeries);

    // Whatever RootID holds on disk, in memory it is a terminated text.
    std::vector<char> garbage(sizeof(TXTPHeader), 'x');
    WriteFile(path, garbage.data(), garbage.size());
    point.OpenSyncFile(path.c_str());
    EXPECT_EQ(std::strlen(point.Point().RootID), sizeof point.Point().RootID - 1);
}

TEST_F(SyncPointTest, DeferredWritesReachTheFileAtFlushOrWhenThePointEnds) {
    {
        CSyncPoint point(kPrivateSeries);
        point.OpenSyncFile(path.c_str());
        point.DeferWrites(true);
        point.Advance(Sequenced(7));
        point.Advance(Sequenced(8));
        EXPECT_EQ(point.Point().SequenceNo, 8u);
        EXPECT_EQ(StoredPoint(path).SequenceNo, 0u);
        point.Flush();
        EXPECT_EQ(StoredPoint(path).SequenceNo, 8u);

        // A point set outright is written at once.
        point.SetSequence(3);
        EXPECT_EQ(StoredPoint(path).SequenceNo, 3u);
        point.Advance(Sequenced(4));
    }
    EXPECT_EQ(StoredPoint(path).SequenceNo, 4u);

    // Opening another file first writes what the old one was owed.
    const std::string other = dir.File("t_private0002.dat");
    CSyncPoint point(kPrivateSeries);
    point.OpenSyncFile(path.c_str());
    point.DeferWrites(true);
    point.Advance(Sequenced(9));
    point.OpenSyncFile(other.c_str());
    EXPECT_EQ(StoredPoint(path).SequenceNo, 9u);
}

TEST_F(SyncPointTest, UnopenableFileIsAnErrorAndFailedWritesAreNot) {
    CSyncPoint point(kPrivateSeries);
    const std::string missing = dir.File("no/such/t_market.dat");
    ExpectError<CRuntimeError>([&] { point.OpenSyncFile(missing.c_str()); }, kSyncFileCannotOpen,
                               kModuleXTPPackageHandler);

    // A device that takes no data: the point still moves in memory.
    point.OpenSyncFile("/dev/full");
    point.Advance(Sequenced(5));
    EXPECT_EQ(point.Point().SequenceNo, 5u);
}

}  // namespace
