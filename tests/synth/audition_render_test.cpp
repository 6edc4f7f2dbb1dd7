#include "synth/audition_render.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include <gtest/gtest.h>

namespace morvane::synth {
namespace {

// A one-second linear scan from wave 1 to 64 at 44,100/128 Hz: while held, sample i is the
// crossfade at position 1 + 63 i / 44,100 of the waves' sample i mod 128. Waves of at most eight
// harmonics pass the mip-map unchanged at this pitch, so the match is exact.
TEST(AuditionRender, ALinearScanCrossfadesTheWavesAtTheirSamples) {
    Wavetable table;
    FillNewWavetable(table, 0);
    const auto wave = [](int w, int n) {
        return 0.5 * std::sin(2.0 * std::numbers::pi * (1 + w % 8) * n / kSampleCount + w);
    };
    for (int w = 0; w < kWaveCount; ++w)
        for (int n = 0; n < kSampleCount; ++n)
            WriteSample(table, w, n,
                        static_cast<std::int32_t>(std::lround(kMaxSample * wave(w, n))));
    const auto sample = [&](int w, int n) { return ReadSample(table, w, n) / double(kMaxSample); };

    AuditionRender request;
    request.Frequency = 44100.0 / 128;
    request.From = 1.0;
    request.To = 64.0;
    request.Seconds = 1.0;
    const std::vector<float> out = RenderAudition(table, request);
    ASSERT_EQ(out.size(), 44100u + 2205u); // and the default 50 ms release

    const int attack = 221; // the default 5 ms rise, then full level
    for (int i = attack; i < 44100; ++i) {
        const double x = 63.0 * i / 44100; // position - 1
        const int w = std::min(static_cast<int>(x), 62);
        const double t = x - w;
        const double expected = (1 - t) * sample(w, i % 128) + t * sample(w + 1, i % 128);
        ASSERT_NEAR(out[static_cast<std::size_t>(i)], expected, 1e-4) << "sample " << i;
    }
    // The release from full level ends in silence, on the last wave.
    EXPECT_NEAR(out[44100 + 128], (1.0 - 129.0 / 2205) * sample(63, (44100 + 128) % 128), 1e-4);
    EXPECT_LT(std::abs(out.back()), 1e-3);
}

} // namespace
} // namespace morvane::synth
