#include "ui/recent_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "files/wave_file.h"
#include "support/temp_folder.h"
#include "ui/open_file_kind.h"

namespace morvane::ui {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Listed(const RecentFiles &recent) {
    return {recent.Paths.begin(), recent.Paths.begin() + recent.Count};
}

TEST(RecentFiles, NewestFirstEachOnceEightAtMost) {
    RecentFiles recent;
    for (int n = 1; n <= 9; ++n)
        recent.Add("/t/" + std::to_string(n) + ".syx");
    EXPECT_EQ(Listed(recent),
              (std::vector<std::string>{"/t/9.syx", "/t/8.syx", "/t/7.syx", "/t/6.syx", "/t/5.syx",
                                        "/t/4.syx", "/t/3.syx", "/t/2.syx"}));
    recent.Add("/t/5.syx"); // listed: moves to the front, nothing drops out
    recent.Add("bad\nname");
    recent.Add("");
    EXPECT_EQ(Listed(recent),
              (std::vector<std::string>{"/t/5.syx", "/t/9.syx", "/t/8.syx", "/t/7.syx", "/t/6.syx",
                                        "/t/4.syx", "/t/3.syx", "/t/2.syx"}));
    EXPECT_TRUE(recent.Remove("/t/2.syx")); // the last one
    EXPECT_TRUE(recent.Remove("/t/5.syx")); // the first one
    EXPECT_FALSE(recent.Remove("/t/1.syx"));
    EXPECT_EQ(Listed(recent), (std::vector<std::string>{"/t/9.syx", "/t/8.syx", "/t/7.syx",
                                                        "/t/6.syx", "/t/4.syx", "/t/3.syx"}));
    EXPECT_EQ(recent.Paths[6], "");
    recent.Clear();
    EXPECT_EQ(recent, RecentFiles{});
}

class RecentFilesFile : public ::testing::Test {
protected:
    fs::path File() const { return folder_ / "morvane.ini"; }
    void Write(const std::string &text) const { std::ofstream(File(), std::ios::binary) << text; }
    std::string Read() const {
        std::ifstream in(File(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    testing_support::TempFolder folder_;
};

TEST_F(RecentFilesFile, ASectionOfItsOwnBesideTheOthersAndBack) {
    Write("[AudioOutput]\r\nWaveChannels=1\r\n");
    RecentFiles recent;
    recent.Add("/a b/old.mid");
    recent.Add(" lead.syx ");
    SaveRecentFiles(recent, File());
    EXPECT_EQ(Read(), "[AudioOutput]\r\nWaveChannels=1\r\n\r\n[RecentFiles]\r\n"
                      "File1=\" lead.syx \"\r\nFile2=/a b/old.mid\r\nFile3=\r\nFile4=\r\n"
                      "File5=\r\nFile6=\r\nFile7=\r\nFile8=\r\n");
    EXPECT_EQ(LoadRecentFiles(File()), recent);

    // A shorter list leaves no entry of the longer one behind.
    recent.Remove("/a b/old.mid");
    SaveRecentFiles(recent, File());
    EXPECT_EQ(Listed(LoadRecentFiles(File())), std::vector<std::string>{" lead.syx "});
}

TEST_F(RecentFilesFile, AHandEditedSectionIsReadWithinBounds) {
    Write("[recentfiles]\nFile2=/x.syx\nFile1=/y.wav\nFile3=/x.syx\nFile4=\nFile9=/z.syx\n"
          "File5=/" +
          std::string(kMaxRecentPathLength, 'p') + "\n");
    EXPECT_EQ(Listed(LoadRecentFiles(File())), (std::vector<std::string>{"/y.wav", "/x.syx"}));
    EXPECT_EQ(LoadRecentFiles(folder_ / "none.ini"), RecentFiles{});
}

TEST(OpenKind, TheNameFirstThenTheFirstBytes) {
    const std::vector<std::uint8_t> midi{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    const std::vector<std::uint8_t> dump{0xF0, 0x3E, 0x13};
    const std::vector<std::uint8_t> riff{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_EQ(OpenKindOf("/a/T.SYX", riff), OpenKind::Wavetable);
    EXPECT_EQ(OpenKindOf("/a/t.Midi", {}), OpenKind::Midi);
    EXPECT_EQ(OpenKindOf("/a/t.mid", dump), OpenKind::Midi);
    EXPECT_EQ(OpenKindOf("/a/t.bin", midi), OpenKind::Midi);
    EXPECT_EQ(OpenKindOf("/a/t", dump), OpenKind::Wavetable);
    EXPECT_EQ(OpenKindOf("/a/t.wav", riff), OpenKind::Audio);
    EXPECT_EQ(OpenKindOf("/a/t.wav", {}), OpenKind::Audio);

    // Morvane's own export by all its bytes; one byte more or a sample out of range is not it.
    Wavetable table{};
    files::WaveBuffers buffers;
    files::PrepareWaveExport(table, buffers);
    files::FillWaveHeader(buffers);
    std::vector<std::uint8_t> own = files::WaveFileBytes(buffers);
    EXPECT_EQ(OpenKindOf("/a/own.wav", own), OpenKind::OwnWave);
    own[files::kWaveHeaderSize + 2] = 0x10; // magnitude 2^20 > kMaxSample
    EXPECT_EQ(OpenKindOf("/a/own.wav", own), OpenKind::Audio);
    own[files::kWaveHeaderSize + 2] = 0;
    own.push_back(0);
    EXPECT_EQ(OpenKindOf("/a/own.wav", own), OpenKind::Audio);
}

} // namespace
} // namespace morvane::ui
