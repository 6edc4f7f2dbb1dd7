#include "edit/table_ops.h"

#include <algorithm>
#include <array>

#include "document/error.h"
#include "edit/extended.h"
#include "edit/random.h"

namespace morvane::edit {

namespace {

constexpr int kSwapCount = 1000;                             // swaps of one random wave order
constexpr std::array<int, 4> kSliceLengths = {32, 16, 8, 4}; // "4 slice" .. "32 slice"

} // namespace

void Morph(Wavetable &table, int from, int to, SampleRange range) {
    if (from == to)
        throw Error(kInvalidFloatingPointOperation); // the first step would divide 0 by 0
    const int a = FirstWave(from);
    const int b = LastWave(to);
    for (int w = a; w <= b; ++w) {
        for (int k = FirstSample(range); k <= LastSample(range); ++k) {
            const std::int32_t f = ReadSample(table, a - 1, k);
            const std::int32_t m = ReadSample(table, b - 1, k);
            const std::int32_t product = (m - f) * (w - a);
            const Extended v = Extended(product) / (b - a) + f;
            WriteSample(table, w - 1, k, FloorToInt32(v));
        }
    }
}

void RandomWaveOrder(Wavetable &table, int from, int to, RandomGenerator &random) {
    const int a = FirstWave(from);
    const int b = LastWave(to);
    if (b < a)
        return;
    const auto n = static_cast<std::uint32_t>(b - a + 1);
    for (int swap = 0; swap < kSwapCount; ++swap) {
        const int x = a + static_cast<int>(random.Random(n));
        const int y = a + static_cast<int>(random.Random(n));
        if (x == y)
            continue;
        std::uint8_t *px = table.Message(x - 1) + kBackupOffset;
        std::uint8_t *py = table.Message(y - 1) + kBackupOffset;
        std::swap_ranges(px, px + kBackupSize, py);
    }
}

int SliceLength(int itemIndex) {
    const auto k = static_cast<std::size_t>(std::clamp(itemIndex, 0, 3));
    return kSliceLengths[k];
}

SliceResult RandomSliceOrder(Wavetable &table, int from, int to, SampleRange range, int sliceLength,
                             bool same, RandomGenerator &random) {
    SliceResult result;
    const int first = FirstSample(range);
    const int last = LastSample(range);
    const int length = std::clamp(sliceLength, 1, kSampleCount);
    // With one aligned slice no draw can find a second one; leave the waves as they are.
    if (last < first || first / length == last / length)
        return result;
    const auto span = static_cast<std::uint32_t>(last - first + 1);
    int p = 0;
    int q = 0;
    for (int w = FirstWave(from); w <= LastWave(to); ++w) {
        if (w == FirstWave(from) || !same) {
            do {
                const int a = first + static_cast<int>(random.Random(span));
                const int c = first + static_cast<int>(random.Random(span));
                p = length * (a / length);
                q = length * (c / length);
            } while (p == q);
        }
        for (int t = 0; t < length; ++t) {
            if (p + t >= first && p + t <= last && q + t >= first && q + t <= last) {
                SwapSamples(table, w - 1, p + t, q + t);
                result.Swapped = true;
            }
        }
    }
    return result;
}

void Sort(Wavetable &table, int from, int to, SampleRange range) {
    const int first = FirstSample(range);
    const int last = LastSample(range);
    for (int w = FirstWave(from); w <= LastWave(to); ++w) {
        bool swapped = true;
        while (swapped) {
            swapped = false;
            for (int j = first + 1; j <= last; ++j) {
                if (ReadSample(table, w - 1, j - 1) < ReadSample(table, w - 1, j)) {
                    SwapSamples(table, w - 1, j - 1, j);
                    swapped = true;
                }
            }
        }
    }
}

} // namespace morvane::edit
