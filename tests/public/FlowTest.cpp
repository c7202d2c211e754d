#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "public/ErrorTexts.h"
#include "public/Flow.h"
#include "tests/public/FlowTestSupport.h"

using namespace quorex;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Record i: 1..37 bytes, so that offsets differ from record to record.
Bytes RecordData(std::uint32_t i) { return Bytes(i % 37 + 1, static_cast<std::uint8_t>(i)); }
std::uint32_t RecordTime(std::uint32_t i) { return 1'700'000'000 + i; }

Bytes FileBytes(const std::string& path) {
    Bytes bytes(std::filesystem::file_size(path));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!bytes.empty()) {
        EXPECT_EQ(std::fread(bytes.data(), bytes.size(), 1, file), 1u);
    }
    std::fclose(file);
    return bytes;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) {
        EXPECT_EQ(std::fwrite(bytes.data(), bytes.size(), 1, file), 1u);
    }
    std::fclose(file);
}

std::vector<std::uint32_t> IdEntries(const std::string& path) {
    const Bytes bytes = FileBytes(path);
    std::vector<std::uint32_t> entries(bytes.size() / 4);
    for (std::size_t k = 0; k < entries.size(); ++k) std::memcpy(&entries[k], &bytes[4 * k], 4);
    return entries;
}

class FlowTest : public ::testing::Test {
protected:
    ScratchDirectory dir;  // first: the paths below are made from it
    std::string idPath = dir.File("flow.id");
    std::string contentPath = dir.File("flow.con");

    void AppendRecords(CFlow& flow, std::uint32_t from, std::uint32_t to) {
        for (std::uint32_t i = from; i < to; ++i) flow.Append(RecordData(i), RecordTime(i));
    }
    void BuildFlow(std::uint32_t records) {
        CFlow flow(idPath.c_str(), contentPath.c_str(), false);
        AppendRecords(flow, 0, records);
    }
    void ExpectRecords(CFlow& flow, std::uint32_t records) {
        ASSERT_EQ(flow.Count(), records);
        Bytes buffer(4096);
        for (std::uint32_t i = 0; i < records; ++i) {
            std::uint32_t time = 0;
            const std::uint32_t length = flow.Read(flow.Locate(i), buffer, &time);
            ASSERT_EQ(Bytes(buffer.begin(), buffer.begin() + length), RecordData(i)) << "record " << i;
            ASSERT_EQ(time, RecordTime(i)) << "record " << i;
        }
    }
    void ExpectInvalidOnReopen() {
        CFlow flow;
        ExpectError<CRuntimeError>([&] { flow.Open(idPath.c_str(), contentPath.c_str(), true); },
                                   kFlowInvalidIdFile, kModuleFlow);
        EXPECT_FALSE(flow.IsOpen());
        EXPECT_EQ(flow.Count(), 0u);
    }
};

TEST_F(FlowTest, EmptyFilesAndMissingFilesOpenAsAnEmptyReusedFlow) {
    WriteFile(idPath, {});
    WriteFile(contentPath, {});
    CFlow existing(idPath.c_str(), contentPath.c_str(), true);
    EXPECT_EQ(existing.Count(), 0u);
    EXPECT_EQ(existing.Locate(0), 0u);

    CFlow created(dir.File("new.id").c_str(), dir.File("new.con").c_str(), true);
    EXPECT_EQ(created.Count(), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir.File("new.con")));
}

TEST_F(FlowTest, OpenRefusesEmptyNamesAndUnopenableFiles) {
    CFlow flow;
    ExpectError<CRuntimeError>([&] { flow.Open("", contentPath.c_str(), false); }, kFlowFileNameError, kModuleFlow);
    ExpectError<CRuntimeError>([&] { flow.Open(idPath.c_str(), nullptr, true); }, kFlowFileNameError, kModuleFlow);

    const std::string missing = dir.File("no/such/dir.id");
    ExpectError<CRuntimeError>([&] { flow.Open(missing.c_str(), contentPath.c_str(), true); }, kFlowCannotOpen,
                               kModuleFlow);
    testing::internal::CaptureStdout();
    ExpectError<CRuntimeError>([&] { flow.Open(missing.c_str(), contentPath.c_str(), false); }, kFlowCannotOpen,
                               kModuleFlow);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "filename=" + missing + "\n");

    // A flow whose opening failed is closed: it neither appends nor reads.
    EXPECT_FALSE(flow.IsOpen());
    ExpectError<CRuntimeError>([&] { flow.Append(RecordData(0), 1); }, kFlowCannotWriteContent, kModuleFlow);
    testing::internal::CaptureStdout();
    ExpectError<CRuntimeError>([&] { flow.Locate(0); }, kFlowCannotReadId, kModuleFlow);
    ExpectError<CRuntimeError>([&] { flow.Read(0, {}); }, kFlowCannotReadContent, kModuleFlow);
    testing::internal::GetCapturedStdout();
}

TEST_F(FlowTest, EveryHundredthRecordIsIndexed) {
    CFlow flow(idPath.c_str(), contentPath.c_str(), false);
    AppendRecords(flow, 0, 99);
    EXPECT_TRUE(IdEntries(idPath).empty());
    AppendRecords(flow, 99, 100);
    EXPECT_THAT(IdEntries(idPath), ElementsAre(flow.ContentSize()));
    EXPECT_EQ(flow.Locate(100), flow.ContentSize());
    EXPECT_EQ(std::filesystem::file_size(contentPath), flow.ContentSize());

    // Record layout: length, time, data, in host order.
    const Bytes content = FileBytes(contentPath);
    const std::uint32_t header[2] = {1, RecordTime(0)};
    EXPECT_EQ(0, std::memcmp(content.data(), header, 8));
    EXPECT_EQ(content[8], 0);
}

TEST_F(FlowTest, ReopenedFlowKeepsItsRecordsAndNumbering) {
    BuildFlow(250);
    {
        CFlow flow(idPath.c_str(), contentPath.c_str(), true);
        EXPECT_EQ(flow.Count(), 250u);  // two id entries and 50 records walked
        EXPECT_EQ(flow.Locate(100), IdEntries(idPath)[0]);
        ExpectRecords(flow, 250);
        AppendRecords(flow, 250, 300);
        EXPECT_EQ(IdEntries(idPath).size(), 3u);
    }
    CFlow flow(idPath.c_str(), contentPath.c_str(), true);
    ExpectRecords(flow, 300);
    EXPECT_EQ(flow.Locate(300), flow.ContentSize());

    flow.Open(idPath.c_str(), contentPath.c_str(), false);
    EXPECT_EQ(flow.Count(), 0u);
    EXPECT_EQ(std::filesystem::file_size(contentPath), 0u);
    EXPECT_EQ(std::filesystem::file_size(idPath), 0u);
}

TEST_F(FlowTest, AppendWithoutTimeStampsTheCurrentTime) {
    CFlow flow(idPath.c_str(), contentPath.c_str(), false);
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    flow.Append({}, 0);
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    std::uint32_t time = 0;
    EXPECT_EQ(flow.Read(0, {}, &time), 0u);
    EXPECT_GE(time, before);
    EXPECT_LE(time, after);
}

// Each case damages a valid flow of 250 records the way a crash, a full disk or a stray write
// might; reopening must report it, never crash or trust the damaged numbers.
TEST_F(FlowTest, DamagedFilesAreReportedOnReopening) {
    const std::vector<std::pair<const char*, std::function<void(Bytes& id, Bytes& content)>>> damages = {
        {"content cut inside the last record", [](Bytes&, Bytes& content) { content.pop_back(); }},
        {"partial record header at the end", [](Bytes&, Bytes& content) { content.resize(content.size() + 4); }},
        {"last record length 0xFFFFFFFF",
         [](Bytes&, Bytes& content) {
             const std::uint32_t header[2] = {0xFFFFFFFF, 1};
             content.insert(content.end(), reinterpret_cast<const std::uint8_t*>(header),
                            reinterpret_cast<const std::uint8_t*>(header) + 8);
         }},
        {"id file torn inside an entry", [](Bytes& id, Bytes&) { id.pop_back(); }},
        {"id entry past the content", [](Bytes& id, Bytes& content) {
             const auto past = static_cast<std::uint32_t>(content.size() + 1);
             std::memcpy(id.data() + 4, &past, 4);
         }},
        {"id entries out of order",
         [](Bytes& id, Bytes&) { std::swap_ranges(id.begin(), id.begin() + 4, id.begin() + 4); }},
        {"id entries too close together", [](Bytes& id, Bytes&) {
             std::uint32_t first;
             std::memcpy(&first, id.data(), 4);
             const std::uint32_t second = first + 799;
             std::memcpy(id.data() + 4, &second, 4);
         }},
        {"id file lost", [](Bytes& id, Bytes&) { id.clear(); }},
        {"id entry lost", [](Bytes& id, Bytes&) { id.resize(4); }},
        {"more id entries than the content can hold", [](Bytes& id, Bytes& content) {
             id.resize(content.size() / 800 * 4 + 4, 0xFF);
         }},
    };
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        BuildFlow(250);
        Bytes id = FileBytes(idPath);
        Bytes content = FileBytes(contentPath);
        damage(id, content);
        WriteFile(idPath, id);
        WriteFile(contentPath, content);
        ExpectInvalidOnReopen();
    }
}

TEST_F(FlowTest, ReadsOutsideTheContentOrBufferAreRefused) {
    CFlow flow(idPath.c_str(), contentPath.c_str(), false);
    flow.Append(Bytes(5000, 7), 1);
    flow.Append(RecordData(1), 2);

    Bytes buffer(4096);
    testing::internal::CaptureStdout();
    ExpectError<CRuntimeError>([&] { flow.Read(0, buffer); }, kFlowBufferTooShort, kModuleFlow);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "flowId.size=5000 bufferLength=4096\n");
    Bytes large(5000);
    EXPECT_EQ(flow.Read(0, large), 5000u);

    testing::internal::CaptureStdout();
    ExpectError<CRuntimeError>([&] { flow.Read(flow.ContentSize(), buffer); }, kFlowCannotReadContent, kModuleFlow);
    ExpectError<CRuntimeError>([&] { flow.Locate(3); }, kFlowCannotReadId, kModuleFlow);
    const std::string lines = testing::internal::GetCapturedStdout();
    EXPECT_THAT(lines, MatchesRegex("file=public/Flow line=[0-9]+ offset=5018 flowcount=2\n"
                                    "file=public/Flow line=[0-9]+ id=3 flowcount=2\n"));
    EXPECT_EQ(flow.Locate(2), flow.ContentSize());
}

TEST_F(FlowTest, FailedWritesAreReportedAndStopLaterAppends) {
    {
        CFlow flow(idPath.c_str(), "/dev/full", false);
        ExpectError<CRuntimeError>([&] { flow.Append(RecordData(0), 1); }, kFlowCannotWriteContent, kModuleFlow);
        EXPECT_EQ(flow.Count(), 0u);
    }
    CFlow flow("/dev/full", contentPath.c_str(), false);
    AppendRecords(flow, 0, 99);
    ExpectError<CRuntimeError>([&] { AppendRecords(flow, 99, 100); }, kFlowCannotWriteId, kModuleFlow);
    // The id file now lacks an entry; stacking more records on it would index them wrongly.
    ExpectError<CRuntimeError>([&] { AppendRecords(flow, 100, 101); }, kFlowCannotWriteContent, kModuleFlow);
    ExpectRecords(flow, 100);
}

TEST_F(FlowTest, GroupedAppendsWaitForFlushButReadAndIndexAsUsual) {
    CFlow flow(idPath.c_str(), contentPath.c_str(), false);
    flow.GroupAppends(true);
    AppendRecords(flow, 0, 10);
    EXPECT_EQ(std::filesystem::file_size(contentPath), 0u);
    ExpectRecords(flow, 10);  // a read sees the buffered records
    flow.Flush();
    EXPECT_EQ(std::filesystem::file_size(contentPath), flow.ContentSize());

    // An id entry never points past what the content file holds.
    AppendRecords(flow, 10, 100);
    ASSERT_THAT(IdEntries(idPath), ElementsAre(flow.ContentSize()));
    EXPECT_GE(std::filesystem::file_size(contentPath), IdEntries(idPath)[0]);
    AppendRecords(flow, 100, 130);
    flow.Flush();
    CFlow reopened(idPath.c_str(), contentPath.c_str(), true);
    ExpectRecords(reopened, 130);
}

TEST_F(FlowTest, AGroupedAppendThatCannotBeWrittenFailsAtFlushAndStopsLaterAppends) {
    CFlow flow(idPath.c_str(), "/dev/full", false);
    flow.GroupAppends(true);
    flow.Append(RecordData(0), 1);
    ExpectError<CRuntimeError>([&] { flow.Flush(); }, kFlowCannotWriteContent, kModuleFlow);
    ExpectError<CRuntimeError>([&] { flow.Append(RecordData(1), 2); }, kFlowCannotWriteContent, kModuleFlow);
    ExpectError<CRuntimeError>([&] { flow.Flush(); }, kFlowCannotWriteContent, kModuleFlow);
}

class RecordingObserver : public CFlowObserver {
public:
    RecordingObserver(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}
    void OnFlowAppend(const CFlow& flow, std::span<const std::uint8_t> record, std::uint32_t time) override {
        m_log.push_back(m_name + " append " + std::to_string(record.size()) + " at " + std::to_string(time) +
                        " count " + std::to_string(flow.Count()));
    }
    void OnFlowOpen(const CFlow& flow) override {
        m_log.push_back(m_name + " open count " + std::to_string(flow.Count()));
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

TEST_F(FlowTest, ObserversAreToldOfAppendsAndOpeningsInSubscriptionOrder) {
    std::vector<std::string> log;
    RecordingObserver first("first", log), second("second", log);
    BuildFlow(3);
    CFlow flow;
    EXPECT_EQ(flow.Subscribe(&first), 1);
    EXPECT_EQ(flow.Subscribe(&second), 2);
    EXPECT_EQ(flow.Subscribe(&first), 3);

    flow.Open(idPath.c_str(), contentPath.c_str(), true);
    flow.Append(Bytes(5), 42);
    flow.Unsubscribe(&first);
    flow.Append(Bytes(6), 43);
    flow.Open(idPath.c_str(), contentPath.c_str(), false);
    EXPECT_THAT(log, ElementsAre("first open count 3", "second open count 3", "first open count 3",
                                 "first append 5 at 42 count 4", "second append 5 at 42 count 4",
                                 "first append 5 at 42 count 4", "second append 6 at 43 count 5",
                                 "second open count 0"));
}

}  // namespace
