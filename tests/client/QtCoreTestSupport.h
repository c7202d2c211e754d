// A base for tests that need a Qt event loop on the test's thread (timers, socket notifiers): one
// QCoreApplication for the suite, on the headless platform.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

namespace kvt::test {

class QtCoreTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        s_application = std::make_unique<QCoreApplication>(s_argc, s_argv);
    }
    static void TearDownTestSuite() { s_application.reset(); }

    static inline int s_argc = 1;
    static inline char s_name[] = "client_tests";
    static inline char* s_argv[] = {s_name, nullptr};
    static inline std::unique_ptr<QCoreApplication> s_application;
};

}  // namespace kvt::test
