#include "ui/window_scale.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

#include "document/error.h"
#include "support/temp_folder.h"

namespace morvane::ui {
namespace {

namespace fs = std::filesystem;

TEST(WindowScale, SavedBesideTheOtherSectionsAndReadBack) {
    const testing_support::TempFolder folder;
    const fs::path ini = folder / "morvane.ini";
    const auto text = [&ini] {
        std::ostringstream read;
        read << std::ifstream(ini, std::ios::binary).rdbuf();
        return read.str();
    };
    EXPECT_EQ(LoadWindowScale(ini), kFollowDesktop); // no file yet
    std::ofstream(ini, std::ios::binary) << "[AudioOutput]\nAudioDevice=2\n";
    SaveWindowScale(150, ini);
    EXPECT_EQ(text(), "[AudioOutput]\nAudioDevice=2\n\n[View]\nWindowScale=150\n");
    EXPECT_EQ(LoadWindowScale(ini), 150);
    SaveWindowScale(kFollowDesktop, ini);
    EXPECT_EQ(text(), "[AudioOutput]\nAudioDevice=2\n\n[View]\nWindowScale=0\n");
    // Only the offered scales count; anything else follows the desktop.
    for (const char *value : {"175", "-100", "1500", "abc", ""}) {
        std::ofstream(ini, std::ios::binary) << "[view]\nwindowscale=" << value << "\n";
        EXPECT_EQ(LoadWindowScale(ini), kFollowDesktop) << value;
    }
    EXPECT_THROW(SaveWindowScale(200, folder.Path()), Error); // a folder can not be written over
}

TEST(WindowScale, EnvironmentAndMessage) {
    using Env = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(WindowScaleEnvironment(kFollowDesktop), Env{});
    EXPECT_EQ(WindowScaleEnvironment(175), Env{});
    EXPECT_EQ(WindowScaleEnvironment(125),
              (Env{{"QT_ENABLE_HIGHDPI_SCALING", "0"}, {"QT_SCALE_FACTOR", "1.25"}}));
    EXPECT_EQ(WindowScaleEnvironment(150)[1].second, "1.5");
    EXPECT_EQ(WindowScaleEnvironment(300)[1].second, "3");
    EXPECT_EQ(WindowScaleMessage(150),
              "Window scale 150 %. This takes effect at the next start of Morvane.");
}

} // namespace
} // namespace morvane::ui
