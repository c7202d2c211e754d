// The desktop tests' main: one QApplication for all tests, on the offscreen platform unless the
// environment chooses another, with the desktop's font fallbacks.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "client/shell/ui/Fonts.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    kvt::InstallFontFallbacks();
    return RUN_ALL_TESTS();
}
