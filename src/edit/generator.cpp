#include "edit/generator.h"

#include <algorithm>

#include "edit/extended.h"
#include "edit/random.h"

namespace morvane::edit {

namespace {

constexpr std::int32_t kAmplitude = kMaxSample;      // a shape of 1.0 is full positive scale
constexpr std::uint32_t kRandomSteps = 2000000;      // the random shape's resolution
constexpr std::int32_t kRandomScale = 1000000;       // r / 1,000,000 - 1 spans -1.0 .. 0.999999
constexpr std::int32_t kLastStep = kSampleCount - 1; // the fade runs over samples 1..128

Extended IntoPeriod(Extended x) {
    while (x > kTwoPi)
        x -= kTwoPi;
    while (x < 0)
        x += kTwoPi;
    return x;
}

Extended ShapeValue(Shape shape, Extended x, RandomGenerator &random) {
    switch (shape) {
    case Shape::Sine:
        return Sin(x) / 2;
    case Shape::Triangle:
        return TriangleWave(x) / 2;
    case Shape::Square:
        return SquareWave(x);
    case Shape::Saw:
        return SawWave(x);
    case Shape::Random:
        return Extended(random.Random(kRandomSteps)) / kRandomScale - 1;
    }
    return 0;
}

// 1 at sample 1 falling to 1 - a at sample 128 for a fade out (fade >= 0); rising from
// 1 - a to 1 for a fade in. i is the absolute sample number, not the place in the range.
Extended FadeWeight(Extended fade, int i) {
    const Extended a = Abs(fade);
    if (fade >= 0)
        return 1 - a * (i - 1) / kLastStep;
    return (1 - a) + a * (i - 1) / kLastStep;
}

} // namespace

Extended TriangleWave(Extended x) {
    x = IntoPeriod(x);
    if (x < kHalfPi)
        return x / kHalfPi;
    if (x < kThreeHalfPi)
        return 1 - (x - kHalfPi) / kHalfPi;
    if (x < kTwoPi)
        return (x - kThreeHalfPi) / kHalfPi - 1;
    return 0;
}

Extended SquareWave(Extended x) {
    x = IntoPeriod(x);
    return Extended(x < kPi ? 0.5 : -0.5);
}

Extended SawWave(Extended x) {
    x = IntoPeriod(x);
    return Extended(0.5) - x / kTwoPi;
}

EditResult GenerateWaves(Wavetable &table, const GeneratorSettings &settings, int from, int to,
                         SampleRange range, RandomGenerator &random, WaveBackup &backup) {
    EditResult result;
    const Extended fade = Extended(settings.FadePosition) / kFadeSteps;
    const int n = settings.Harmonic;
    const int first = std::max(range.First, 0);
    const int last = std::min(range.Last, kSampleCount - 1);
    for (int w = std::max(from, 1); w <= std::min(to, kWaveCount); ++w) {
        backup.Save(table, w - 1);
        for (int i = first + 1; i <= last + 1; ++i) {
            const Extended x = kTwoPi * n * i / kSampleCount;
            const Extended g = ShapeValue(settings.Wave, x, random);
            const std::int32_t u = FloorToInt32(Extended(1) / n * g * kAmplitude);
            std::int32_t v = FloorToInt32(u * FadeWeight(fade, i));
            if (settings.AddToExisting)
                v = Combine(settings.Mode, v, ReadSample(table, w - 1, i - 1));
            WriteSample(table, w - 1, i - 1, v);
            CheckOverflow(v, settings.AllowOverflow, result.Overflow);
        }
        if (result.Overflow) {
            result.LogLines.emplace_back(kOverflowMessage);
            backup.Restore(table, w - 1);
            result.RestoredWaves.push_back(w);
        }
    }
    return result;
}

} // namespace morvane::edit
