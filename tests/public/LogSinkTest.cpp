#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "public/ErrorReport.h"
#include "public/ErrorTexts.h"
#include "public/Thread.h"
#include "public/XTPPackage.h"
#include "public/CollectedLog.h"

using namespace quorex;
using quorex::test::CCollectedLog;

namespace {

using Message = std::pair<LogLevel, std::string>;

class LogSinkTest : public ::testing::Test {
protected:
    void TearDown() override { SetLogSink(nullptr, nullptr); }
    CCollectedLog log;
};

class FailingThread : public CThread {
public:
    ~FailingThread() override { Join(); }

protected:
    void Run() override { throw CRuntimeError(kFlowCannotOpen, kModuleFlow, 42); }
};

// A package whose header announces more content than it carries.
void ParseShortPackage() {
    std::uint8_t bytes[XTPHLEN] = {};
    TXTPHeader header{};
    header.Tid = 0x000000F1;
    header.ContentLength = 9;
    EncodeXTPHeader(header, bytes);
    CXTPPackage package;
    package.Assign(bytes, sizeof bytes);
    EXPECT_EQ(package.Parse(), kParseShortOrLengthMismatch);
}

}  // namespace

TEST_F(LogSinkTest, TheSinkGetsEveryTextWithItsLevelAndNothingReachesStandardOutput) {
    SetLogSink(&CCollectedLog::Sink, &log);
    testing::internal::CaptureStdout();
    FailingThread thread;  // its error report comes from its own thread
    ASSERT_TRUE(thread.Start());
    thread.Join();
    ReportError(CDesignError(kPackageBufferTooSmall, kModuleXTPFlow, 17));
    ParseShortPackage();
    Log(LogLevel::kDiagnostic, "Rcv Sys_INIT_PACKAGE!!!!!\n");
    Log(LogLevel::kDiagnostic, "no line break");
    FlushLog();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const std::vector<Message> expected = {
        {LogLevel::kError, "runtime error:\ncan not open CFlow file\nin file public/Flow, line 42"},
        {LogLevel::kError, "design error:\npackage buffer too small\nin file public/XTPFlow, line 17"},
        {LogLevel::kError, "Length()-XTPHLEN=0 m_XTPHeader.ContentLength=9"},
        {LogLevel::kDiagnostic, "Rcv Sys_INIT_PACKAGE!!!!!"},
        {LogLevel::kDiagnostic, "no line break"},
    };
    EXPECT_EQ(log.Messages(), expected);
}

TEST_F(LogSinkTest, AMessageLongerThanTheInlineBufferArrivesWhole) {
    SetLogSink(&CCollectedLog::Sink, &log);
    const std::string name(3000, 'n');
    Log(LogLevel::kError, "filename=%s\n", name.c_str());
    ASSERT_EQ(log.Messages().size(), 1u);
    EXPECT_EQ(log.Messages()[0].second, "filename=" + name);
}

TEST_F(LogSinkTest, NullptrRestoresStandardOutputAndDiscardLogSilences) {
    SetLogSink(&CCollectedLog::Sink, &log);
    SetLogSink(nullptr, nullptr);
    testing::internal::CaptureStdout();
    ReportError(CRuntimeError(kFlowCannotOpen, kModuleFlow, 42));
    ParseShortPackage();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "runtime error:\ncan not open CFlow file\nin file public/Flow, line 42\n"
              "Length()-XTPHLEN=0 m_XTPHeader.ContentLength=9\n");
    EXPECT_TRUE(log.Messages().empty());

    SetLogSink(&DiscardLog, nullptr);
    testing::internal::CaptureStdout();
    ReportError(CRuntimeError(kFlowCannotOpen, kModuleFlow, 42));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// Sinks swapped while two threads report: every message is whole, and a sink that was replaced
// is never called once SetLogSink has returned.
TEST_F(LogSinkTest, ASinkReplacedWhileMessagesFlowIsNeverCalledAfterwards) {
    struct CCountingSink {
        std::atomic<int> calls{0};
        std::atomic<int> damaged{0};
        static void Sink(LogLevel, const char* text, void* context) {
            auto* self = static_cast<CCountingSink*>(context);
            if (std::string(text) != "Rcv Tid=00000102 Seqseri=3 No=7,m_pSyncPoint No=9") ++self->damaged;
            ++self->calls;
        }
    };
    CCountingSink first, second, last;
    std::atomic<bool> stop{false};
    const auto report = [&] {
        while (!stop.load())
            Log(LogLevel::kDiagnostic, "Rcv Tid=%08x Seqseri=%d No=%ld,m_pSyncPoint No=%ld\n", 0x102, 3, 7L, 9L);
    };
    SetLogSink(&DiscardLog, nullptr);
    std::thread reporters[2] = {std::thread(report), std::thread(report)};
    for (int i = 0; i < 200; ++i) SetLogSink(&CCountingSink::Sink, i % 2 == 0 ? &first : &second);
    SetLogSink(&CCountingSink::Sink, &last);
    const int firstCalls = first.calls.load(), secondCalls = second.calls.load();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (last.calls.load() < 100 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    stop = true;
    for (std::thread& reporter : reporters) reporter.join();

    EXPECT_GE(last.calls.load(), 100);
    EXPECT_EQ(first.calls.load(), firstCalls);
    EXPECT_EQ(second.calls.load(), secondCalls);
    EXPECT_EQ(first.damaged + second.damaged + last.damaged, 0);
}
