// The GUI tests run the real main window on Qt's offscreen platform inside the program's own
// application object, which gives the window its key preview and the general error box.
#include <cstdlib>

#include <gtest/gtest.h>

#include "ui/qt/application.h"

int main(int argc, char **argv) {
    // Listing the tests at build time runs this program without a display too.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    morvane::qt::TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
