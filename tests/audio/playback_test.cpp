#include "audio/playback.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace morvane::audio {
namespace {

// A wave whose 128 samples all play as different values: sample s is 128 x (64 s - 4000) plus
// a remainder of the same sign (100 or -100) that the division must drop.
std::int32_t DistinctSample(int s) {
    const int base = 64 * s - 4000;
    return 128 * base + (base >= 0 ? 100 : -100);
}

Wavetable DistinctTable(int waveIndex) {
    Wavetable table{};
    FillNewWavetable(table, 0);
    for (int s = 0; s < kSampleCount; ++s) {
        WriteSample(table, waveIndex, s, DistinctSample(s));
    }
    return table;
}

// The play value of sample s worked out by hand from the rule above: 64 s - 4000, the
// remainder of +-100 truncated away toward zero.
std::int16_t ExpectedValue(int s) {
    return static_cast<std::int16_t>(64 * s - 4000);
}

TEST(PlayTable, DividesBy128TruncatingTowardZero) {
    Wavetable table{};
    FillNewWavetable(table, 0);
    const std::vector<std::pair<std::int32_t, std::int16_t>> cases = {
        {-129, -1}, {127, 0},   {128, 1},        {-128, -1},
        {0, 0},     {-1, 0},    {1048575, 8191}, {-1048575, -8191},
        {255, 1},   {-255, -1}, {1048448, 8191}, {-1048447, -8190}};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        WriteSample(table, 5, static_cast<int>(i), cases[i].first);
    }
    const audio::PlayTable values = audio::MakePlayTable(table, 5);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("sample value " + std::to_string(cases[i].first));
        EXPECT_EQ(values[i], cases[i].second);
    }
}

TEST(PlayTable, ReadsTheGivenWave) {
    const Wavetable table = DistinctTable(63);
    const audio::PlayTable values = audio::MakePlayTable(table, 63);
    for (int s = 0; s < kSampleCount; ++s) {
        SCOPED_TRACE("sample " + std::to_string(s + 1));
        EXPECT_EQ(values[static_cast<std::size_t>(s)], ExpectedValue(s));
    }
    // Wave 1 is still the new table's sine, not the distinct wave.
    EXPECT_NE(audio::MakePlayTable(table, 0), values);
}

struct FillCase {
    std::int32_t Rate;
    std::int32_t Channels;
    // Value n of the whole run of 16 x 8192 values plays table entry Entry(n) (0-based).
    int (*Entry)(long n);
    const char *Name;
};

class FillBuffersTest : public testing::TestWithParam<FillCase> {};

TEST_P(FillBuffersTest, ValuesFollowTheTableAtTheStepOfTheRate) {
    const FillCase &c = GetParam();
    const Wavetable table = DistinctTable(10);
    auto buffers = std::make_unique<AudioBuffers>();
    audio::FillPlayBuffers(table, 10, AudioSettings{0, c.Channels, c.Rate, 2 * c.Channels, 16},
                           *buffers);
    long n = 0;
    int mismatches = 0;
    for (std::size_t b = 0; b < kWaveBufferCount; ++b) {
        for (std::size_t j = 0; j < kWaveBufferSamples; ++j, ++n) {
            const std::int16_t expected = ExpectedValue(c.Entry(n));
            const std::int16_t actual = (*buffers)[b][j].load();
            if (actual != expected && ++mismatches <= 3) {
                ADD_FAILURE() << "buffer " << b + 1 << " sample " << j + 1 << ": " << actual
                              << " instead of " << expected;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    RatesAndChannels, FillBuffersTest,
    testing::Values(
        // Mono at 44,100 Hz: the 128 values in order, 64 times per buffer.
        FillCase{44100, 1, [](long n) { return static_cast<int>(n % 128); }, "Mono44100"},
        // 22,050 Hz: every second value; 11,025 Hz: every fourth.
        FillCase{22050, 1, [](long n) { return static_cast<int>((2 * n) % 128); }, "Mono22050"},
        FillCase{11025, 1, [](long n) { return static_cast<int>((4 * n) % 128); }, "Mono11025"},
        // Stereo: left and right half a step apart, a frame advances one step of mono.
        FillCase{44100, 2, [](long n) { return static_cast<int>((n / 2) % 128); }, "Stereo44100"},
        FillCase{22050, 2, [](long n) { return static_cast<int>(n % 128); }, "Stereo22050"},
        FillCase{11025, 2, [](long n) { return static_cast<int>((2 * n) % 128); }, "Stereo11025"},
        // 48,000 Hz: a step of 44100 / 48000 = 147 / 160 of a value, 140 values per cycle;
        // within a cycle value m plays entry floor(m x 147 / 160). The cycle does not divide
        // the buffer, so it runs on from one buffer into the next.
        FillCase{48000, 1, [](long n) { return static_cast<int>((n % 140) * 147 / 160); },
                 "Mono48000"},
        FillCase{48000, 2, [](long n) { return static_cast<int>((n % 279) * 147 / 320); },
                 "Stereo48000"}),
    [](const testing::TestParamInfo<FillCase> &param) { return std::string(param.param.Name); });

// The number of values of one cycle: from the first value up to the value where entry 0 comes
// back.
int CycleLength(const AudioBuffer &buffer) {
    const std::int16_t first = buffer[0].load();
    for (std::size_t j = 1; j < buffer.size(); ++j) {
        if (buffer[j].load() == first && buffer[j - 1].load() != first) {
            return static_cast<int>(j);
        }
    }
    return 0;
}

TEST(FillBuffers, CycleLengthsAtOtherRates) {
    const audio::PlayTable values = audio::MakePlayTable(DistinctTable(0), 0);
    auto buffers = std::make_unique<AudioBuffers>();
    // The smallest whole number of values not below 128 / (44100 / rate).
    const std::vector<std::pair<std::int32_t, int>> cases = {
        {44100, 128},
        {22050, 64},
        {11025, 32},
        {48000, 140},
        {96000, 279},
        // A cycle longer than any usual rate gives: 128 / 0.0441 = 2902.5 values.
        {1000000, 2903}};
    for (const auto &[rate, length] : cases) {
        SCOPED_TRACE(std::to_string(rate) + " Hz");
        audio::FillBuffers(values, rate, 1, *buffers);
        EXPECT_EQ(CycleLength((*buffers)[0]), length);
        // The overshoot is dropped: every cycle starts again exactly at entry 0.
        for (std::size_t j = 0; j + static_cast<std::size_t>(length) < kWaveBufferSamples; ++j) {
            ASSERT_EQ((*buffers)[0][j].load(),
                      (*buffers)[0][j + static_cast<std::size_t>(length)].load())
                << "value " << j;
        }
    }
    // Stereo at 48,000 Hz: a cycle of 279 values, as mono at 96,000 Hz.
    audio::FillBuffers(values, 48000, 2, *buffers);
    EXPECT_EQ(CycleLength((*buffers)[0]), 279);
}

TEST(FillBuffers, AtTheCommonRatesEveryBufferBeginsACycle) {
    const audio::PlayTable values = audio::MakePlayTable(DistinctTable(0), 0);
    auto buffers = std::make_unique<AudioBuffers>();
    for (const std::int32_t rate : {11025, 22050, 44100}) {
        for (const std::int32_t channels : {1, 2}) {
            SCOPED_TRACE(std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels");
            audio::FillBuffers(values, rate, channels, *buffers);
            for (std::size_t b = 0; b < kWaveBufferCount; ++b) {
                EXPECT_EQ((*buffers)[b][0].load(), values[0]) << "buffer " << b + 1;
            }
        }
    }
}

TEST(FillBuffers, EveryFillStartsAgainAtTheFirstValue) {
    const audio::PlayTable values = audio::MakePlayTable(DistinctTable(0), 0);
    auto buffers = std::make_unique<AudioBuffers>();
    // At 48,000 Hz a buffer does not hold whole cycles, so the run carries on from buffer to
    // buffer; a new fill must not carry on from the last one.
    audio::FillBuffers(values, 48000, 1, *buffers);
    EXPECT_NE((*buffers)[1][0].load(), values[0]);
    audio::FillBuffers(values, 48000, 1, *buffers);
    EXPECT_EQ((*buffers)[0][0].load(), values[0]);
    EXPECT_EQ((*buffers)[0][1].load(), values[0]); // 1.91875 still plays entry 1
    EXPECT_EQ((*buffers)[0][2].load(), values[1]);
}

TEST(FillBuffers, RateThatIsNotPositiveGivesSilence) {
    const audio::PlayTable values = audio::MakePlayTable(DistinctTable(0), 0);
    auto buffers = std::make_unique<AudioBuffers>();
    for (const std::int32_t rate : {0, -44100}) {
        SCOPED_TRACE(std::to_string(rate) + " Hz");
        audio::FillBuffers(values, 44100, 1, *buffers); // not silent before
        audio::FillBuffers(values, rate, 2, *buffers);
        for (const AudioBuffer &buffer : *buffers) {
            for (const AudioSample &sample : buffer) {
                ASSERT_EQ(sample.load(), 0);
            }
        }
    }
}

TEST(Sweep, RunsBackAndForthWithEachEndWaveTwice) {
    std::vector<int> expected;
    for (int i = 1; i <= 63; ++i) {
        expected.push_back(i);
    }
    for (int i = 63; i >= 0; --i) {
        expected.push_back(i);
    }
    expected.push_back(0);
    expected.push_back(1);
    expected.push_back(2);

    int index = 0;
    int direction = +1;
    std::vector<int> visited;
    for (std::size_t tick = 0; tick < expected.size(); ++tick) {
        index = audio::SweepStep(index, direction);
        visited.push_back(index);
    }
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(direction, +1);
}

TEST(Sweep, KeepsItsDirectionFromTheMiddle) {
    int direction = -1;
    EXPECT_EQ(audio::SweepStep(30, direction), 29);
    EXPECT_EQ(direction, -1);
    EXPECT_EQ(audio::SweepStep(0, direction), 0);
    EXPECT_EQ(direction, +1);
    EXPECT_EQ(audio::SweepStep(63, direction), 63);
    EXPECT_EQ(direction, -1);
}

TEST(Sweep, SpeedOfTheTimer) {
    EXPECT_EQ(audio::PlaySpeedInterval(1), 197);
    EXPECT_EQ(audio::PlaySpeedInterval(25), 101);
    EXPECT_EQ(audio::PlaySpeedInterval(49), 5);
    EXPECT_EQ(audio::PlaySpeedInterval(50), 1);
}

} // namespace
} // namespace morvane::audio
