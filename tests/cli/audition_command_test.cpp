// morvane-cli audition: the WAVE file it writes, and what it refuses.
#include "cli/audition_command.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <unistd.h>

#include "exchange/table_files.h"

namespace morvane::cli {
namespace {

namespace fs = std::filesystem;

class AuditionCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("morvane-cli-audition-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        Wavetable table;
        FillNewWavetable(table, 0); // 64 half-scale sines
        exchange::SaveTableFile(File("a.syx"), exchange::TableFormat::Syx, table);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string File(const std::string &name) const { return (folder / name).string(); }

    static int Run(const std::vector<std::string> &args) {
        int argc = 0;
        return AuditionCommand(argc, nullptr, args);
    }

    fs::path folder;
};

TEST_F(AuditionCommandTest, WritesTheNoteAsAFloatWave) {
    ASSERT_EQ(Run({File("a.syx"), File("a.wav"), "--note", "69", "--seconds", "0.5", "--rate",
                   "48000", "--position", "3", "--to", "60.5", "--interpolation", "spectral"}),
              0);
    std::ifstream in(File("a.wav"), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    constexpr std::size_t kHeader = 12 + 26 + 12 + 8;  // RIFF, fmt, fact, data heads
    constexpr std::size_t kSamples = 48000 * 55 / 100; // held 0.5 s, released 0.05 s
    ASSERT_EQ(bytes.size(), kHeader + 4 * kSamples);
    EXPECT_EQ(std::string(bytes.data() + 20, 2), std::string("\x03\x00", 2));         // IEEE float
    EXPECT_EQ(std::string(bytes.data() + 24, 4), std::string("\x80\xBB\x00\x00", 4)); // 48000
    std::vector<float> samples(kSamples);
    std::memcpy(samples.data(), bytes.data() + kHeader, 4 * kSamples);
    // Every wave is the same half-scale sine: a steady 440 Hz sine of amplitude 0.5 while held.
    int rising = 0;
    float peak = 0.0f;
    for (std::size_t i = 1; i < 24000; ++i) {
        rising += samples[i - 1] < 0.0f && samples[i] >= 0.0f;
        peak = std::max(peak, samples[i]);
    }
    EXPECT_EQ(rising, 219); // at k / 440 s, k = 1 .. 219 (the sine starts rising at 0)
    EXPECT_NEAR(peak, 0.5f, 1e-3f);
    EXPECT_LT(std::abs(samples.back()), 1e-3f);
}

TEST_F(AuditionCommandTest, RefusesWhatItCannotRender) {
    testing::internal::CaptureStderr();
    for (const std::vector<std::string> &more :
         {std::vector<std::string>{"--note", "128"},
          {"--frequency", "22050"}, // not below half of 44,100
          {"--frequency", "0"},
          {"--note", "60", "--frequency", "300"},
          {"--position", "0.5"},
          {"--to", "64.5"},
          {"--seconds", "0"},
          {"--seconds", "61"},
          {"--rate", "7999"},
          {"--interpolation", "cubic"},
          {"--rate"},
          {"--loud"}}) {
        std::vector<std::string> args = {File("a.syx"), File("b.wav")};
        args.insert(args.end(), more.begin(), more.end());
        EXPECT_EQ(Run(args), 2) << more[0];
    }
    EXPECT_EQ(Run({File("a.syx")}), 2);
    EXPECT_EQ(Run({File("none.syx"), File("b.wav")}), 1);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("morvane-cli: --frequency must stay below half the rate (22050 Hz)"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(File("b.wav")));
}

} // namespace
} // namespace morvane::cli
