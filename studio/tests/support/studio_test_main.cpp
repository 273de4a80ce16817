// The main routine of KovaStudio's form tests: a QApplication on the offscreen
// platform (set here too, so that test discovery at build time works) with the
// program's font.
#include "studio_font.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    apply_studio_font(application);
    application.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
