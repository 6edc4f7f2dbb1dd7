#include "ui/window_scale.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

#include "document/error.h"

namespace morvane::ui {
namespace {

namespace fs = std::filesystem;

class WindowScaleFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("morvane-scale-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    void Write(const std::string &text) { std::ofstream(Ini(), std::ios::binary) << text; }
    std::string Read() {
        std::ifstream in(Ini(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path Ini() const { return folder / "morvane.ini"; }
    fs::path folder;
};

TEST_F(WindowScaleFile, SavedBesideTheOtherSectionsAndReadBack) {
    EXPECT_EQ(LoadWindowScale(Ini()), kFollowDesktop); // no file yet
    Write("[AudioOutput]\nAudioDevice=2\n");
    SaveWindowScale(150, Ini());
    EXPECT_EQ(Read(), "[AudioOutput]\nAudioDevice=2\n\n[View]\nWindowScale=150\n");
    EXPECT_EQ(LoadWindowScale(Ini()), 150);
    SaveWindowScale(kFollowDesktop, Ini());
    EXPECT_EQ(Read(), "[AudioOutput]\nAudioDevice=2\n\n[View]\nWindowScale=0\n");
    EXPECT_EQ(LoadWindowScale(Ini()), kFollowDesktop);
    // Only the offered scales count; anything else follows the desktop.
    for (const char *value : {"175", "-100", "1500", "abc", "", "300 "}) {
        Write(std::string("[view]\nwindowscale=") + value + "\n");
        EXPECT_EQ(LoadWindowScale(Ini()), value == std::string("300 ") ? 300 : kFollowDesktop)
            << value;
    }
    // A settings file that is a folder can not be written.
    EXPECT_THROW(SaveWindowScale(200, folder), Error);
}

TEST(WindowScale, EnvironmentAndMessage) {
    using Env = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(WindowScaleEnvironment(kFollowDesktop), Env{});
    EXPECT_EQ(WindowScaleEnvironment(175), Env{});
    EXPECT_EQ(WindowScaleEnvironment(125),
              (Env{{"QT_ENABLE_HIGHDPI_SCALING", "0"}, {"QT_SCALE_FACTOR", "1.25"}}));
    EXPECT_EQ(WindowScaleEnvironment(150)[1].second, "1.5");
    EXPECT_EQ(WindowScaleEnvironment(100)[1].second, "1");
    EXPECT_EQ(WindowScaleEnvironment(300)[1].second, "3");
    EXPECT_EQ(WindowScaleMessage(150),
              "Window scale 150 %. This takes effect at the next start of Morvane.");
    EXPECT_EQ(WindowScaleMessage(kFollowDesktop),
              "Window scale: follow the desktop. This takes effect at the next start of Morvane.");
}

} // namespace
} // namespace morvane::ui
