#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "public/ErrorTexts.h"
#include "public/Semaphore.h"
#include "public/Thread.h"

using namespace quorex;

namespace {

class ScriptedThread : public CThread {
public:
    enum class Body { Normal, DesignError, RuntimeError };
    ScriptedThread(bool initResult, Body body) : m_initResult(initResult), m_body(body) {}
    ~ScriptedThread() override { Join(); }
    std::atomic<bool> ran{false}, exited{false};

protected:
    bool Init() override { return m_initResult; }
    void Run() override {
        ran = true;
        if (m_body == Body::DesignError) throw CDesignError(kPackageBufferTooSmall, kModuleXTPFlow, 17);
        if (m_body == Body::RuntimeError) throw CRuntimeError(kFlowCannotOpen, kModuleFlow, 42);
    }
    void Exit() override { exited = true; }

private:
    bool m_initResult;
    Body m_body;
};

std::string RunAndCapture(ScriptedThread& thread) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(thread.Start());
    thread.Join();
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(Thread, InitFailureSkipsRunButStillExits) {
    ScriptedThread thread(false, ScriptedThread::Body::Normal);
    EXPECT_EQ(RunAndCapture(thread), "");
    EXPECT_FALSE(thread.ran);
    EXPECT_TRUE(thread.exited);
}

TEST(Thread, EscapingErrorsArePrintedAndExitRuns) {
    ScriptedThread runtime(true, ScriptedThread::Body::RuntimeError);
    EXPECT_EQ(RunAndCapture(runtime), "runtime error:\ncan not open CFlow file\nin file public/Flow, line 42\n");
    EXPECT_TRUE(runtime.exited);
    ScriptedThread design(true, ScriptedThread::Body::DesignError);
    EXPECT_EQ(RunAndCapture(design), "design error:\npackage buffer too small\nin file public/XTPFlow, line 17\n");
    EXPECT_TRUE(design.exited);
}

TEST(Thread, KnowsItsOwnThreadId) {
    struct Probe : CThread {
        std::atomic<bool> inside{false};
        ~Probe() override { Join(); }
        void Run() override { inside = IsCurrentThread(); }
    } probe;
    EXPECT_FALSE(probe.IsCurrentThread());
    ASSERT_TRUE(probe.Start());
    probe.Join();
    EXPECT_TRUE(probe.inside);
    EXPECT_FALSE(probe.IsCurrentThread());
}

TEST(Semaphore, CountOneLetsOneWaitThroughThenBlocksUntilPost) {
    CSemaphore semaphore(1);
    ASSERT_TRUE(semaphore.Wait());
    EXPECT_FALSE(semaphore.Post() && semaphore.Post());  // never above the maximum
    ASSERT_TRUE(semaphore.Wait());
    std::atomic<bool> passed{false};
    std::thread waiter([&] {
        semaphore.Wait();
        passed = true;
    });
    EXPECT_FALSE(passed);
    EXPECT_TRUE(semaphore.Post());
    waiter.join();
    EXPECT_TRUE(passed);
    semaphore.Close();
    EXPECT_FALSE(semaphore.Wait());
}
