#pragma once

#include "document/sample_range.h"
#include "document/wave_message.h"

namespace morvane::edit {

class RandomGenerator;

// Operations across several waves. Waves are wave numbers (1..64), from <= to.

// Morphs waves from..to linearly from wave `from` to wave `to` over the range:
// v := floor(((m - f) * (w - from)) / (to - from) + f), the product in 32-bit integers, the
// division and the addition in extended float. from = to is a division 0 / 0: it throws
// Error("Invalid floating point operation") before anything changes.
void Morph(Wavetable &table, int from, int to, SampleRange range);

// Swaps the bytes 7..407 of two waves x, y := from + Random(n) (drawn x first) 1,000 times,
// n = to - from + 1. Header bytes 0..6 and the two end bytes stay at their position.
void RandomWaveOrder(Wavetable &table, int from, int to, RandomGenerator &random);

// The slice length of the "slice" item k (0..3): 32, 16, 8 or 4 samples.
int SliceLength(int itemIndex);

struct SliceResult {
    // Whether any samples moved: false when the range meets only one aligned slice, or when
    // no offset puts both slices' samples inside the range.
    bool Swapped = false;
};

// Swaps two different aligned slices of sliceLength samples (raw bytes, only where both
// samples lie in the range) in each wave from..to. With `same` the first wave's pair serves
// every wave; otherwise each wave draws its own. A pair is drawn as a := first +
// Random(last - first + 1), then c likewise, until their slices differ. A range that meets
// only one aligned slice leaves every wave unchanged and draws nothing.
SliceResult RandomSliceOrder(Wavetable &table, int from, int to, SampleRange range, int sliceLength,
                             bool same, RandomGenerator &random);

// Sorts the range of each wave into descending order by passes of neighbour swaps of the raw
// bytes; equal values are never swapped.
void Sort(Wavetable &table, int from, int to, SampleRange range);

} // namespace morvane::edit
