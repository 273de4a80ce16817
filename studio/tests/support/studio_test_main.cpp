// The main routine of KovaStudio's form tests: the program's application object
// (an exception that reaches the event loop is shown in a box, which a test
// did not expect) on the offscreen platform (set here too, so that test
// discovery at build time works) with the program's font.
#include "studio_application.h"
#include "studio_font.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    studio_application application(argc, argv);
    apply_studio_font(application);
    application.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
