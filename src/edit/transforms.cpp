#include "edit/transforms.h"

#include <algorithm>
#include <cmath>

#include "document/error.h"
#include "edit/extended.h"

namespace morvane::edit {

namespace {

constexpr int kPercent = 100;
constexpr int kStepExponentBase = 3; // item 0 of "Step wave" is 2^3 levels

EditResult MoveVertical(Wavetable &table, int wave, SampleRange range, std::int32_t delta,
                        bool allowOverflow, WaveBackup &backup) {
    EditResult result;
    if (wave < 1 || wave > kWaveCount)
        return result;
    backup.Save(table, wave - 1);
    for (int k = FirstSample(range); k <= LastSample(range); ++k) {
        const std::int32_t v = Wrap32(std::int64_t{ReadSample(table, wave - 1, k)} + delta);
        CheckOverflow(v, allowOverflow, result.Overflow);
        WriteSample(table, wave - 1, k, v);
    }
    if (result.Overflow) {
        backup.Restore(table, wave - 1);
        result.RestoredWaves.push_back(wave);
    }
    return result;
}

} // namespace

EditResult Amplify(Wavetable &table, int from, int to, SampleRange range, int percent, bool up,
                   bool allowOverflow, WaveBackup &backup) {
    EditResult result;
    const Extended factor = Extended(up ? kPercent + percent : kPercent - percent) / kPercent;
    for (int w = FirstWave(from); w <= LastWave(to); ++w) {
        backup.Save(table, w - 1);
        for (int k = FirstSample(range); k <= LastSample(range); ++k) {
            const std::int32_t v = FloorToInt32(ReadSample(table, w - 1, k) * factor);
            WriteSample(table, w - 1, k, v);
            CheckOverflow(v, allowOverflow, result.Overflow);
        }
        if (result.Overflow) {
            result.LogLines.emplace_back(kAmplifyOverflowMessage);
            backup.Restore(table, w - 1);
            result.RestoredWaves.push_back(w);
        }
    }
    return result;
}

void Invert(Wavetable &table, int from, int to, SampleRange range) {
    for (int w = FirstWave(from); w <= LastWave(to); ++w)
        for (int k = FirstSample(range); k <= LastSample(range); ++k)
            WriteSample(table, w - 1, k, -ReadSample(table, w - 1, k));
}

void Reverse(Wavetable &table, int from, int to, SampleRange range) {
    const int first = FirstSample(range);
    const int last = LastSample(range);
    const int s = first + last + 2; // sample numbers i and s - i swap places
    for (int w = FirstWave(from); w <= LastWave(to); ++w)
        for (int i = first + 1; i <= s / 2; ++i)
            SwapSamples(table, w - 1, i - 1, s - i - 1);
}

void Smooth(Wavetable &table, int from, int to, SampleRange range) {
    for (int w = FirstWave(from); w <= LastWave(to); ++w) {
        for (int k = FirstSample(range); k <= LastSample(range); ++k) {
            const int left = k == 0 ? kSampleCount - 1 : k - 1;
            const int right = k == kSampleCount - 1 ? 0 : k + 1;
            const std::int32_t sum =
                ReadSample(table, w - 1, left) + ReadSample(table, w - 1, right);
            WriteSample(table, w - 1, k, sum / 2);
        }
    }
}

int StepLevels(int itemIndex) {
    const int exponent = itemIndex + kStepExponentBase;
    if (exponent < 0)
        return 0; // 2^exponent floors to 0
    if (exponent > 30)
        throw Error(kInvalidFloatingPointOperation); // beyond the 32-bit range
    return 1 << exponent;
}

void Step(Wavetable &table, int from, int to, SampleRange range, int levels) {
    if (levels < 1 || levels > kFullScale)
        throw Error("Division by zero");
    const std::int32_t step = kFullScale / levels;
    for (int w = FirstWave(from); w <= LastWave(to); ++w) {
        for (int k = FirstSample(range); k <= LastSample(range); ++k) {
            const std::int32_t v = ReadSample(table, w - 1, k);
            WriteSample(table, w - 1, k, v - v % step);
        }
    }
}

void MoveLeft(Wavetable &table, int wave, SampleRange range) {
    if (wave < 1 || wave > kWaveCount)
        return;
    const int first = FirstSample(range);
    const int last = LastSample(range);
    const SampleTriple kept = ReadSampleBytes(table, wave - 1, first);
    for (int k = first + 1; k <= last; ++k)
        WriteSampleBytes(table, wave - 1, k - 1, ReadSampleBytes(table, wave - 1, k));
    WriteSampleBytes(table, wave - 1, last, kept);
}

void MoveRight(Wavetable &table, int wave, SampleRange range) {
    if (wave < 1 || wave > kWaveCount)
        return;
    const int first = FirstSample(range);
    const int last = LastSample(range);
    const SampleTriple kept = ReadSampleBytes(table, wave - 1, last);
    for (int k = last; k >= first + 1; --k)
        WriteSampleBytes(table, wave - 1, k, ReadSampleBytes(table, wave - 1, k - 1));
    WriteSampleBytes(table, wave - 1, first, kept);
}

EditResult MoveUp(Wavetable &table, int wave, SampleRange range, bool allowOverflow,
                  WaveBackup &backup) {
    return MoveVertical(table, wave, range, kMoveStep, allowOverflow, backup);
}

EditResult MoveDown(Wavetable &table, int wave, SampleRange range, bool allowOverflow,
                    WaveBackup &backup) {
    return MoveVertical(table, wave, range, -kMoveStep, allowOverflow, backup);
}

} // namespace morvane::edit
