#pragma once

#include <array>
#include <cstdint>

#include "document/sample_range.h"
#include "document/wave_message.h"
#include "edit/combine.h"
#include "edit/overflow.h"

namespace morvane::edit {

// The program's own one-wave clipboard: slot k (1..128) holds the three raw bytes of the k-th
// copied sample. Slots beyond Length keep what an earlier, longer copy left there. The window
// owns one for the whole run; it starts with zero slots and length 0.
struct WaveClipboard {
    std::array<SampleTriple, kSampleCount> Slots{}; // slot k at index k - 1
    std::int32_t Length = 0;

    SampleTriple Slot(int k) const;          // k = 1..128
    void SetSlot(int k, SampleTriple bytes); // k = 1..128
};

// Copies the range of one wave into slots 1..(last - first + 1); the table is not changed.
void Copy(WaveClipboard &clipboard, const Wavetable &table, int wave, SampleRange range);

// Writes slot t into sample number first + t for t = 1..Length while it stays within the
// range.
void Paste(const WaveClipboard &clipboard, Wavetable &table, int wave, SampleRange range);

// Combines sample number s of the range with slot s (same number, whatever first and Length
// are): Combine(mode, sample, slot), so Add is sample + slot, Sub slot - sample, Replace
// leaves the sample. On overflow (not allowed) the wave is restored from the backup; the
// result says so, with no log line (the window shows a message box).
EditResult PasteSpecial(const WaveClipboard &clipboard, Wavetable &table, int wave,
                        SampleRange range, CombineMode mode, bool allowOverflow,
                        WaveBackup &backup);

} // namespace morvane::edit
