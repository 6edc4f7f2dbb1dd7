#include "ui/selection.h"

namespace morvane::ui {

WaveRange CheckedWaveSelection(int from, int to, bool checked, int currentWave) {
    if (checked)
        return {from, to};
    return {currentWave, currentWave};
}

std::string WaveFromCaption(int from) {
    return "Select wave from: " + std::to_string(from);
}

std::string WaveToCaption(int to) {
    return "Select wave to: " + std::to_string(to);
}

std::string SelectionCaptionAfterFrom(int from, int to) {
    return "make modification for waveform " + std::to_string(from) + " to " + std::to_string(to);
}

std::string SelectionCaptionAfterTo(int from, int to) {
    return "make for waveform " + std::to_string(from) + " to " + std::to_string(to);
}

std::optional<SampleRange> AcceptSampleRange(int first, int last) {
    if (first >= last)
        return std::nullopt;
    return SampleRange{first, last};
}

std::string SampleFromCaption(const SampleRange &range) {
    return "from " + std::to_string(range.First + 1);
}

std::string SampleToCaption(const SampleRange &range) {
    return "to " + std::to_string(range.Last + 1);
}

} // namespace morvane::ui
