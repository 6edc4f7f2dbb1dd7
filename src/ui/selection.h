#pragma once

#include <optional>
#include <string>

#include "document/sample_range.h"

namespace morvane::ui {

// The waves a per-wave edit applies to: from..to when the "make modification" check box is
// checked, otherwise the current wave alone.
WaveRange CheckedWaveSelection(int from, int to, bool checked, int currentWave);

// The captions the two selection track bars write.
std::string WaveFromCaption(int from);                   // "Select wave from: 30"
std::string WaveToCaption(int to);                       // "Select wave to: 64"
std::string SelectionCaptionAfterFrom(int from, int to); // "make modification for waveform 1 to 64"
std::string SelectionCaptionAfterTo(int from, int to);   // "make for waveform 1 to 64"

// The sample range the two scroll bars (positions 0..127) give: a..b when a < b, otherwise none
// (the move is ignored and the range stays as it was).
std::optional<SampleRange> AcceptSampleRange(int first, int last);
std::string SampleFromCaption(const SampleRange &range); // "from 11" (1-based)
std::string SampleToCaption(const SampleRange &range);   // "to 128"

} // namespace morvane::ui
