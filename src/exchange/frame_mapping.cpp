// One of the audio import's parts: how many frames a file holds and which of them make each
// target wave, with the texts the dialog shows for both. Declared in audio_import.h.
#include "exchange/audio_import.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/limits.h"

namespace morvane::exchange {

namespace {

std::int64_t RoundedDivision(std::int64_t numerator, std::int64_t denominator) {
    // Rounds half up; both are non-negative here.
    return (2 * numerator + denominator) / (2 * denominator);
}

} // namespace

std::int64_t FrameCount(const AudioFile &file, int choice) {
    const std::int64_t length = FrameLengthInSamples(file, choice);
    if (length <= 0)
        return 0;
    return static_cast<std::int64_t>(file.Samples.size()) / length;
}

std::vector<WaveSource> MapFramesToWaves(std::int64_t frameCount, int waveCount) {
    std::vector<WaveSource> map;
    if (frameCount <= 0 || waveCount <= 0)
        return map;
    map.resize(static_cast<std::size_t>(waveCount));
    const std::int64_t waves = waveCount;
    if (frameCount >= waves) {
        for (std::int64_t j = 0; j < waves; ++j) {
            const std::int64_t frame =
                waves == 1 ? 0 : RoundedDivision(j * (frameCount - 1), waves - 1);
            map[static_cast<std::size_t>(j)] = {static_cast<int>(frame), static_cast<int>(frame),
                                                0.0};
        }
        return map;
    }
    if (frameCount == 1)
        return map; // every wave takes frame 0 as it is
    // Frame i sits on wave position round(i * (waves - 1) / (frames - 1)); since there are
    // fewer frames than waves, the positions are strictly increasing.
    std::int64_t previousPosition = 0;
    for (std::int64_t i = 1; i < frameCount; ++i) {
        const std::int64_t position = RoundedDivision(i * (waves - 1), frameCount - 1);
        const std::int64_t span = position - previousPosition;
        for (std::int64_t q = previousPosition; q <= position; ++q) {
            WaveSource &source = map[static_cast<std::size_t>(q)];
            if (q == position) {
                source = {static_cast<int>(i), static_cast<int>(i), 0.0};
            } else if (q == previousPosition) {
                source = {static_cast<int>(i - 1), static_cast<int>(i - 1), 0.0};
            } else {
                source = {static_cast<int>(i - 1), static_cast<int>(i),
                          static_cast<double>(q - previousPosition) / static_cast<double>(span)};
            }
        }
        previousPosition = position;
    }
    return map;
}

std::vector<std::string> DescribeMapping(std::int64_t frameCount, int first, int last) {
    std::vector<std::string> lines;
    if (last < first)
        return lines;
    const std::vector<WaveSource> map = MapFramesToWaves(frameCount, last - first + 1);
    for (std::size_t j = 0; j < map.size(); ++j) {
        const WaveSource &source = map[j];
        std::string line = "Wave " + std::to_string(first + static_cast<int>(j)) + ": ";
        if (source.From == source.To) {
            line += "frame " + std::to_string(source.From + 1);
        } else {
            const long percent = std::lround(source.Weight * 100.0);
            line += "frames " + std::to_string(source.From + 1) + " and " +
                    std::to_string(source.To + 1) + " morphed, " + std::to_string(percent) +
                    " % of frame " + std::to_string(source.To + 1);
        }
        lines.push_back(line);
    }
    return lines;
}

std::string FramesFoundText(const AudioFile &file, int choice) {
    const std::int64_t length = FrameLengthInSamples(file, choice);
    const std::int64_t frames = FrameCount(file, choice);
    const auto total = static_cast<std::uint64_t>(file.Samples.size());
    if (frames == 0)
        return "No whole frame of " + GroupedNumber(static_cast<std::uint64_t>(length)) +
               " samples in " + GroupedNumber(total) + " samples";
    std::string text = GroupedNumber(static_cast<std::uint64_t>(frames)) +
                       (frames == 1 ? " frame of " : " frames of ") +
                       GroupedNumber(static_cast<std::uint64_t>(length)) + " samples";
    const std::uint64_t rest = total - static_cast<std::uint64_t>(frames * length);
    if (rest != 0)
        text += " (the last " + GroupedNumber(rest) + " samples are not used)";
    return text;
}

} // namespace morvane::exchange
