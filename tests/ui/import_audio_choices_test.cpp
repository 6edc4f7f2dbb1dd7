// The audio import's choices for a recording: the mode it opens in, the region proposed, the
// pitch found and entered, and the waves that OK writes, all through the real resynthesis.
#include "ui/import_audio_choices.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include <gtest/gtest.h>

#include "../exchange/exchange_test_support.h"
#include "document/error.h"

namespace morvane::ui {
namespace {

constexpr double kRate = 44100;

// `lead` seconds of silence, `seconds` of a sine at `hz` at half scale, `tail` of silence.
exchange::AudioFile Note(double hz, double lead, double seconds, double tail) {
    std::vector<double> samples(static_cast<std::size_t>(std::lround(lead * kRate)), 0.0);
    const auto tone = std::lround(seconds * kRate);
    for (long n = 0; n < tone; ++n)
        samples.push_back(0.5 *
                          std::sin(2 * std::numbers::pi * hz * static_cast<double>(n) / kRate));
    samples.resize(samples.size() + static_cast<std::size_t>(std::lround(tail * kRate)), 0.0);
    return exchange::ReadAudioBytes(exchange::test::MakeWav(samples, {}), "\"note.wav\"");
}

// "Pitch found: 441.00 Hz (A4 +4 cents)" -> 441.00; NaN when the text has no number there.
double HzIn(const std::string &text, const std::string &prefix) {
    if (text.rfind(prefix, 0) != 0)
        return std::nan("");
    return std::strtod(text.c_str() + prefix.size(), nullptr);
}

TEST(ImportAudioChoices, ARecordingOpensInCyclesModeWithTheSilenceLeftOut) {
    // 0.25 s + 1 s + 0.25 s = 66,150 samples: no multiple of any frame length.
    const exchange::AudioFile note = Note(441, 0.25, 1.0, 0.25);
    const ImportAudioChoices choices = MakeImportAudioChoices(note, 1, 64);
    EXPECT_EQ(choices.Mode, ImportAudioMode::Cycles);
    EXPECT_DOUBLE_EQ(choices.Seconds, 1.5);
    EXPECT_NEAR(choices.RegionStart, 0.25, 0.001);
    EXPECT_NEAR(choices.RegionEnd, 1.25, 0.001);
    ASSERT_EQ(choices.Recording.size(), static_cast<std::size_t>(render::kRecordingWidth));
    EXPECT_EQ(choices.Recording.front(), (render::SampleSpan{0, 0})); // the silence
    EXPECT_NEAR(choices.Recording[render::kRecordingWidth / 2].High, 0.5, 0.01);
    // The frame choices stay as they were: the whole file is still proposed there.
    EXPECT_EQ(choices.FrameLengths[static_cast<std::size_t>(choices.Proposed)],
              exchange::kWholeFile);

    // A table of 64 frames of 2048 samples, or a short file, opens as frames.
    for (const std::size_t samples : {std::size_t{64 * 2048}, std::size_t{4000}}) {
        const exchange::AudioFile table = exchange::ReadAudioBytes(
            exchange::test::MakeWav(std::vector<double>(samples, 0.25), {}), "\"t.wav\"");
        EXPECT_EQ(MakeImportAudioChoices(table, 1, 64).Mode, ImportAudioMode::Frames) << samples;
    }
}

TEST(ImportAudioChoices, ShowThePitchFoundAndThePitchEntered) {
    const exchange::AudioFile note = Note(441, 0.25, 1.0, 0.25);
    const ImportAudioChoices choices = MakeImportAudioChoices(note, 3, 7);
    // 441 Hz is 1200 log2(441 / 440) = 3.93 cents above A4.
    CyclesPreview preview = choices.Cycles({});
    EXPECT_TRUE(preview.Problem.empty()) << preview.Problem;
    EXPECT_NEAR(HzIn(preview.PitchFound, "Pitch found: "), 441.0, 0.05) << preview.PitchFound;
    EXPECT_NE(preview.PitchFound.find(" Hz (A4 +4 cents)"), std::string::npos);
    EXPECT_TRUE(preview.PitchEntered.empty());
    EXPECT_EQ(preview.Waves.First, 3);
    EXPECT_EQ(preview.Waves.Count, 5);

    // C#2 is 37 semitones above MIDI note 0: 440 * 2^((37 - 69) / 12) = 69.2957 Hz. The pitch
    // found is still shown beside it.
    CyclesChoice choice;
    choice.Pitch = "C#2";
    preview = choices.Cycles(choice);
    EXPECT_EQ(preview.PitchEntered, "Pitch entered: 69.30 Hz (C#2 +0 cents)");
    EXPECT_NEAR(HzIn(preview.PitchFound, "Pitch found: "), 441.0, 0.05);
    choice.Pitch = "441";
    EXPECT_EQ(choices.Cycles(choice).PitchEntered, "Pitch entered: 441.00 Hz (A4 +4 cents)");

    // Text that is no pitch says so, and nothing is made.
    choice.Pitch = "H7";
    preview = choices.Cycles(choice);
    EXPECT_EQ(preview.Problem, exchange::BadPitchText("H7"));
    EXPECT_NE(preview.Problem.find("H7"), std::string::npos);
    EXPECT_THROW(CyclesSettings(note, choice, 1, 64), Error);
    // A region whose end comes before its start is refused too.
    choice.Pitch.clear();
    choice.Start = 1.0;
    choice.End = 0.5;
    EXPECT_FALSE(choices.Cycles(choice).Problem.empty());
}

TEST(ImportAudioChoices, NoiseIsRefusedUnlessThePitchIsEntered) {
    std::vector<double> noise(30000);
    std::uint32_t state = 12345;
    for (double &s : noise) {
        state = state * 1664525u + 1013904223u; // the Numerical Recipes generator
        s = static_cast<double>(state >> 8) / double(1 << 24) - 0.5;
    }
    const exchange::AudioFile file =
        exchange::ReadAudioBytes(exchange::test::MakeWav(noise, {}), "\"noise.wav\"");
    const ImportAudioChoices choices = MakeImportAudioChoices(file, 1, 64);
    CyclesPreview preview = choices.Cycles({});
    EXPECT_EQ(preview.PitchFound, "Pitch found: none");
    EXPECT_EQ(preview.Problem.rfind("No steady pitch found in ", 0), 0u) << preview.Problem;

    // The table is left alone by the refusal, and written once the pitch is given by hand.
    Wavetable table;
    FillNewWavetable(table, 0);
    const Wavetable before = table;
    ImportAudioAnswer answer;
    answer.Mode = ImportAudioMode::Cycles;
    EXPECT_THROW(ImportAudio(file, answer, 1, 64, table), Error);
    EXPECT_EQ(table, before);
    answer.Cycles.Pitch = "A3";
    ImportAudio(file, answer, 1, 64, table);
    EXPECT_NE(table, before);
}

TEST(ImportAudioChoices, OkWritesTheWavesThePreviewShows) {
    const exchange::AudioFile note = Note(441, 0.25, 1.0, 0.25);
    const ImportAudioChoices choices = MakeImportAudioChoices(note, 10, 12);
    ImportAudioAnswer answer;
    answer.Mode = ImportAudioMode::Cycles;
    answer.Normalise = false;
    answer.Cycles.Phase = exchange::PhaseMode::Zero;
    answer.Cycles.Start = 0.5;
    CyclesChoice asked = answer.Cycles;
    asked.Normalise = false;
    const CyclesPreview preview = choices.Cycles(asked);
    ASSERT_TRUE(preview.Problem.empty()) << preview.Problem;

    Wavetable table;
    FillNewWavetable(table, 0);
    const Wavetable before = table;
    ImportAudio(note, answer, 10, 12, table);
    for (int w = 0; w < kWaveCount; ++w) {
        SCOPED_TRACE(w);
        for (int k = 0; k < kSampleCount; ++k) {
            const std::int32_t expected =
                w >= 9 && w <= 11
                    ? preview.Waves
                          .Waves[static_cast<std::size_t>(w - 9)][static_cast<std::size_t>(k)]
                    : ReadSample(before, w, k);
            ASSERT_EQ(ReadSample(table, w, k), expected) << k;
        }
    }
    // The file's level kept: a half-scale sine stays near half of full scale.
    const std::int32_t peak =
        *std::max_element(preview.Waves.Waves[0].begin(), preview.Waves.Waves[0].end());
    EXPECT_NEAR(peak, kMaxSample / 2, kMaxSample / 50);
}

} // namespace
} // namespace morvane::ui
