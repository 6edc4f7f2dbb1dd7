// The audio import's choices for a recording: the mode it opens in, the region proposed, the
// pitch found and entered, and the waves that OK writes, all through the real resynthesis.
#include "ui/import_audio_choices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "../exchange/exchange_test_support.h"
#include "document/error.h"

namespace morvane::ui {
namespace {

constexpr double kRate = 44100;

// 0.25 s of silence, 1 s of a half-scale sine at 441 Hz, 0.25 s of silence: 66,150 samples, no
// multiple of any frame length. 441 Hz is 1200 log2(441 / 440) = 3.93 cents above A4.
exchange::AudioFile Note() {
    std::vector<double> samples(static_cast<std::size_t>(kRate / 4), 0.0);
    for (int n = 0; n < kRate; ++n)
        samples.push_back(0.5 * std::sin(2 * std::numbers::pi * 441 * n / kRate));
    samples.resize(samples.size() + static_cast<std::size_t>(kRate / 4), 0.0);
    return exchange::ReadAudioBytes(exchange::test::MakeWav(samples, {}), "\"note.wav\"");
}

TEST(ImportAudioChoices, ARecordingOpensInCyclesModeWithThePitchFound) {
    const exchange::AudioFile note = Note();
    const ImportAudioChoices choices = MakeImportAudioChoices(note, 3, 7);
    EXPECT_EQ(choices.Mode, ImportAudioMode::Cycles);
    EXPECT_DOUBLE_EQ(choices.Seconds, 1.5);
    EXPECT_NEAR(choices.RegionStart, 0.25, 0.001); // the silence left out
    EXPECT_NEAR(choices.RegionEnd, 1.25, 0.001);
    ASSERT_EQ(choices.Recording.size(), static_cast<std::size_t>(render::kRecordingWidth));
    EXPECT_NEAR(choices.Recording[render::kRecordingWidth / 2].High, 0.5, 0.01);
    // A table of 64 frames of 2048 samples, or a short file, opens as frames.
    for (const std::size_t samples : {std::size_t{64 * 2048}, std::size_t{4000}}) {
        const exchange::AudioFile table = exchange::ReadAudioBytes(
            exchange::test::MakeWav(std::vector<double>(samples, 0.25), {}), "\"t.wav\"");
        EXPECT_EQ(MakeImportAudioChoices(table, 1, 64).Mode, ImportAudioMode::Frames) << samples;
    }

    CyclesPreview preview = choices.Cycles({});
    EXPECT_TRUE(preview.Problem.empty()) << preview.Problem;
    EXPECT_NEAR(std::strtod(preview.PitchFound.c_str() + 13, nullptr), 441.0, 0.05);
    EXPECT_EQ(preview.PitchFound.substr(19), " Hz (A4 +4 cents)") << preview.PitchFound;
    EXPECT_EQ(preview.Waves.First, 3);
    EXPECT_EQ(preview.Waves.Count, 5);
    // C#2 = 440 * 2^((37 - 69) / 12) = 69.2957 Hz; the pitch found is still shown beside it.
    CyclesChoice choice;
    choice.Pitch = "C#2";
    preview = choices.Cycles(choice);
    EXPECT_EQ(preview.PitchEntered, "Pitch entered: 69.30 Hz (C#2 +0 cents)");
    EXPECT_EQ(preview.PitchFound.substr(19), " Hz (A4 +4 cents)");
    // Text that is no pitch, and a region ending before it starts, say so; nothing is made.
    choice.Pitch = "H7";
    EXPECT_EQ(choices.Cycles(choice).Problem, exchange::BadPitchText("H7"));
    choice.Pitch.clear();
    choice.Start = 1.0;
    choice.End = 0.5;
    EXPECT_FALSE(choices.Cycles(choice).Problem.empty());
}

TEST(ImportAudioChoices, OkWritesThePreviewsWavesAndNoiseOnlyWithAPitchGiven) {
    std::vector<double> noise(30000);
    std::uint32_t state = 12345;
    for (double &s : noise) {
        state = state * 1664525u + 1013904223u; // the Numerical Recipes generator
        s = static_cast<double>(state >> 8) / double(1 << 24) - 0.5;
    }
    const exchange::AudioFile hiss =
        exchange::ReadAudioBytes(exchange::test::MakeWav(noise, {}), "\"noise.wav\"");
    const CyclesPreview refused = MakeImportAudioChoices(hiss, 1, 64).Cycles({});
    EXPECT_EQ(refused.PitchFound, "Pitch found: none");
    EXPECT_EQ(refused.Problem.rfind("No steady pitch found in \"noise.wav\"", 0), 0u);
    Wavetable table;
    FillNewWavetable(table, 0);
    const Wavetable before = table;
    ImportAudioAnswer answer;
    answer.Mode = ImportAudioMode::Cycles;
    EXPECT_THROW(ImportAudio(hiss, answer, 1, 64, table), Error);
    EXPECT_EQ(table, before);
    answer.Cycles.Pitch = "A3";
    ImportAudio(hiss, answer, 1, 64, table);
    EXPECT_NE(table, before);

    // Waves 10 to 12 from the note at its own level get what the preview showed; the rest stay.
    const exchange::AudioFile note = Note();
    answer.Normalise = false;
    answer.Cycles = {"", 0.5, std::nullopt, exchange::PhaseMode::Zero, false};
    const CyclesPreview preview = MakeImportAudioChoices(note, 10, 12).Cycles(answer.Cycles);
    table = before;
    ImportAudio(note, answer, 10, 12, table);
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 0; k < kSampleCount; ++k)
            ASSERT_EQ(ReadSample(table, w, k),
                      w >= 9 && w <= 11
                          ? preview.Waves
                                .Waves[static_cast<std::size_t>(w - 9)][static_cast<std::size_t>(k)]
                          : ReadSample(before, w, k))
                << w << " " << k;
    const auto &wave = preview.Waves.Waves[0]; // a half-scale sine stays near half of full scale
    EXPECT_NEAR(*std::max_element(wave.begin(), wave.end()), kMaxSample / 2, kMaxSample / 50);
}

} // namespace
} // namespace morvane::ui
