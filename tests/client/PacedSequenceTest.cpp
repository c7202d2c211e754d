// Requests paced on timers: one step per interval, the closing step one interval after the last,
// and a second command waiting behind the first.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/shell/PacedSequence.h"

using namespace kvt;
using namespace kvt::test;
using std::chrono::milliseconds;

TEST(PacedSequence, StepsRunOneIntervalApartAndTheCloseOneIntervalAfterTheLast) {
    CManualTimers timers;
    CPacedSequence sequence(timers);
    std::vector<std::pair<std::string, milliseconds>> log;
    auto step = [&](std::string name) { return [&, name] { log.emplace_back(name, timers.Now()); }; };
    sequence.Run({step("a"), step("b"), step("c")}, milliseconds(50), step("done"));
    EXPECT_EQ(log.size(), 1u);
    EXPECT_TRUE(sequence.IsRunning());
    sequence.Run({step("d")}, milliseconds(100), step("done2"));
    timers.RunAll();
    EXPECT_EQ(log, (std::vector<std::pair<std::string, milliseconds>>{{"a", milliseconds(0)},
                                                                      {"b", milliseconds(50)},
                                                                      {"c", milliseconds(100)},
                                                                      {"done", milliseconds(150)},
                                                                      {"d", milliseconds(150)},
                                                                      {"done2", milliseconds(250)}}));
    EXPECT_FALSE(sequence.IsRunning());
}

TEST(PacedSequence, NoStepsRunsTheCloseAtOnceAndAStepMayStartAnotherCommand) {
    CManualTimers timers;
    CPacedSequence sequence(timers);
    int closed = 0;
    sequence.Run({}, milliseconds(50), [&] { ++closed; });
    EXPECT_EQ(closed, 1);
    std::vector<int> order;
    sequence.Run({[&] {
                      order.push_back(1);
                      sequence.Run({[&] { order.push_back(3); }}, milliseconds(50));
                  },
                  [&] { order.push_back(2); }},
                 milliseconds(50));
    timers.RunAll();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(PacedSequence, PendingStepsGoWithTheSequence) {
    CManualTimers timers;
    int ran = 0;
    {
        CPacedSequence sequence(timers);
        sequence.Run({[&] { ++ran; }, [&] { ++ran; }}, milliseconds(50));
    }
    timers.RunAll();
    EXPECT_EQ(ran, 1);
}
