#include "edit/clipboard.h"

#include <algorithm>

namespace morvane::edit {

namespace {
std::size_t SlotIndex(int k) {
    return static_cast<std::size_t>(std::clamp(k, 1, kSampleCount) - 1);
}
} // namespace

SampleTriple WaveClipboard::Slot(int k) const {
    return Slots[SlotIndex(k)];
}

void WaveClipboard::SetSlot(int k, SampleTriple bytes) {
    Slots[SlotIndex(k)] = bytes;
}

void Copy(WaveClipboard &clipboard, const Wavetable &table, int wave, SampleRange range) {
    if (wave < 1 || wave > kWaveCount)
        return;
    const int first = FirstSample(range);
    const int last = LastSample(range);
    clipboard.Length = std::max(last - first + 1, 0);
    for (int s = first + 1; s <= last + 1; ++s)
        clipboard.SetSlot(s - first, ReadSampleBytes(table, wave - 1, s - 1));
}

void Paste(const WaveClipboard &clipboard, Wavetable &table, int wave, SampleRange range) {
    if (wave < 1 || wave > kWaveCount)
        return;
    const int first = FirstSample(range);
    const int last = LastSample(range);
    // Length is at most 128 after any copy; the bound keeps a foreign value inside the slots.
    const int length = std::min<std::int32_t>(clipboard.Length, kSampleCount);
    for (int t = 1; t <= length; ++t)
        if (first + t <= last + 1)
            WriteSampleBytes(table, wave - 1, first + t - 1, clipboard.Slot(t));
}

EditResult PasteSpecial(const WaveClipboard &clipboard, Wavetable &table, int wave,
                        SampleRange range, CombineMode mode, bool allowOverflow,
                        WaveBackup &backup) {
    EditResult result;
    if (wave < 1 || wave > kWaveCount)
        return result;
    backup.Save(table, wave - 1);
    for (int s = FirstSample(range) + 1; s <= LastSample(range) + 1; ++s) {
        const SampleTriple slot = clipboard.Slot(s);
        const std::int32_t c = DecodeSample(slot.High, slot.Middle, slot.Low);
        const std::int32_t h = ReadSample(table, wave - 1, s - 1);
        const std::int32_t r = Combine(mode, h, c);
        WriteSample(table, wave - 1, s - 1, r);
        CheckOverflow(r, allowOverflow, result.Overflow);
    }
    if (result.Overflow) {
        backup.Restore(table, wave - 1);
        result.RestoredWaves.push_back(wave);
    }
    return result;
}

} // namespace morvane::edit
