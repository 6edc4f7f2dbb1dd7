#include "audio/audio_setup.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace morvane::audio {
namespace {

const std::vector<std::string> kAllTen = {
    "11.025 kHz, mono", "11.025 kHz, stereo", "22.05 kHz, mono", "22.05 kHz, stereo",
    "44.1 kHz, mono",   "44.1 kHz, stereo",   "48 kHz, mono",    "48 kHz, stereo",
    "96 kHz, mono",     "96 kHz, stereo"};

TEST(AudioSetup, FormatTextsInTheOrderOfTheTable) {
    EXPECT_EQ(audio::FormatTexts(0xCCCCC), kAllTen);
    EXPECT_EQ(audio::FormatTexts(0x800 | 0x4),
              (std::vector<std::string>{"11.025 kHz, mono", "44.1 kHz, stereo"}));
    EXPECT_EQ(audio::FormatTexts(0x80000), (std::vector<std::string>{"96 kHz, stereo"}));
    // The 8-bit bits (1, 2, 10, 20, 100, 200, ...) are ignored.
    EXPECT_TRUE(audio::FormatTexts(0x33333).empty());
    EXPECT_TRUE(audio::FormatTexts(0).empty());
}

TEST(AudioSetup, PreselectionFollowsTheSavedRateAndChannels) {
    const std::vector<std::pair<AudioSettings, int>> cases = {
        {AudioSettings{0, 1, 11025, 2, 16}, 0}, {AudioSettings{0, 2, 11025, 4, 16}, 1},
        {AudioSettings{0, 1, 22050, 2, 16}, 2}, {AudioSettings{0, 2, 44100, 4, 16}, 5},
        {AudioSettings{0, 2, 48000, 4, 16}, 7}, {AudioSettings{0, 1, 96000, 2, 16}, 8},
        {AudioSettings{0, 2, 96000, 4, 16}, 9}, {AudioSettings{0, 3, 44100, 6, 16}, 4},
        {AudioSettings{0, 2, 8000, 4, 16}, -1}, {AudioSettings{0, 1, 44101, 2, 16}, -1}};
    for (const auto &[settings, expected] : cases) {
        SCOPED_TRACE(std::to_string(settings.WaveSamplesPerSec) + " Hz, " +
                     std::to_string(settings.WaveChannels) + " channels");
        EXPECT_EQ(audio::PreselectedFormat(settings), expected);
    }
    // With all ten formats, saved 48,000 Hz stereo selects "48 kHz, stereo".
    EXPECT_EQ(kAllTen[7], "48 kHz, stereo");
}

TEST(AudioSetup, OkWithAFormatSetsChannelsRateBitsAndBlockAlign) {
    AudioSettings settings{3, 2, 48000, 4, 24};
    audio::ApplyAudioSetup(settings, 1, "22.05 kHz, mono");
    EXPECT_EQ(settings, (AudioSettings{1, 1, 22050, 2, 16}));

    for (std::size_t i = 0; i < kAllTen.size(); ++i) {
        SCOPED_TRACE(kAllTen[i]);
        AudioSettings s{};
        audio::ApplyAudioSetup(s, 0, kAllTen[i]);
        const bool stereo = i % 2 == 1;
        EXPECT_EQ(s.WaveChannels, stereo ? 2 : 1);
        EXPECT_EQ(s.WaveBlockAlign, stereo ? 4 : 2);
        EXPECT_EQ(s.WaveBitsPerSample, 16);
        EXPECT_EQ(s.WaveSamplesPerSec,
                  (std::vector<int>{11025, 22050, 44100, 48000, 96000})[i / 2]);
    }
}

TEST(AudioSetup, OkWithNoDeviceStoresTheWaveMapperMonoAndKeepsTheRate) {
    AudioSettings settings{0, 2, 48000, 4, 16};
    audio::ApplyAudioSetup(settings, -1, "");
    EXPECT_EQ(settings, (AudioSettings{-1, 1, 48000, 2, 16}));
}

TEST(AudioSetup, OkOnAHandEditedRateWithNoFormatChosen) {
    AudioSettings settings{0, 2, 8000, 4, 16};
    EXPECT_EQ(audio::PreselectedFormat(settings), -1); // nothing preselected
    audio::ApplyAudioSetup(settings, 0, "");
    EXPECT_EQ(settings, (AudioSettings{0, 1, 8000, 2, 16}));
}

TEST(AudioSetup, OkWithoutTouchingTheListStoresTheFirstDevice) {
    AudioSettings settings{1, 2, 44100, 4, 16};
    audio::ApplyAudioSetup(settings, 0, "44.1 kHz, stereo");
    EXPECT_EQ(settings, (AudioSettings{0, 2, 44100, 4, 16}));
}

} // namespace
} // namespace morvane::audio
