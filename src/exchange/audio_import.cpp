#include "exchange/audio_import.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>

#include "document/error.h"
#include "exchange/chunk_reader.h"
#include "exchange/frame_tags.h"
#include "exchange/limits.h"
#include "exchange/resample.h"
#include "exchange/sndfile_memory.h"
#include "files/byte_reader.h"

// Reading a file for import and importing its frames; the parts are in sndfile_memory.*,
// frame_tags.* and frame_mapping.cpp.
namespace morvane::exchange {

AudioFile ReadAudioBytes(std::span<const std::uint8_t> bytes, const std::string &shownName) {
    AudioFile file;
    file.ShownName = shownName;
    if (bytes.empty())
        throw Error(shownName + " is empty.");
    if (IsSurgeWt(bytes)) {
        ReadSurgeFrames(bytes, file);
    } else {
        const FileChunks chunks = ReadChunks(bytes);
        if (chunks.Truncated)
            throw Error(shownName + " is cut short: its '" + IdText(chunks.TruncatedId) +
                        "' chunk declares " + GroupedNumber(chunks.TruncatedDeclared) +
                        " bytes, only " + GroupedNumber(chunks.TruncatedPresent) + " are there.");
        ReadWithSndfile(bytes, file);
        if (chunks.Kind == Container::Riff)
            FindFrameTag(chunks, file);
    }
    if (file.Samples.empty())
        throw Error(shownName + " holds no samples.");
    if (file.TaggedFrameLength > 0 &&
        static_cast<std::size_t>(file.TaggedFrameLength) > file.Samples.size())
        throw Error(shownName + " holds no whole frame: its " + FrameSourceText(file.Source) +
                    " gives frames of " + GroupedNumber(file.TaggedFrameLength) +
                    " samples, the file has " + GroupedNumber(file.Samples.size()) + ".");
    return file;
}

AudioFile ReadAudioFile(const std::string &path) {
    const std::string shownName = "\"" + std::filesystem::path(path).filename().string() + "\"";
    // The reader's cap is left to the loop below, which says it in the import's words.
    files::ByteReader reader(
        files::OpenFileSource(path, std::numeric_limits<std::uint64_t>::max()));
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kStep = 1 << 20;
    for (;;) {
        const std::size_t had = bytes.size();
        bytes.resize(had + kStep);
        const std::size_t got = reader.Read(std::span<std::uint8_t>(bytes.data() + had, kStep));
        bytes.resize(had + got);
        if (got < kStep)
            break;
        if (static_cast<std::int64_t>(bytes.size()) > kMaxFileBytes)
            throw Error(shownName + " is too large for a wavetable (more than " +
                        GroupedNumber(static_cast<std::uint64_t>(kMaxFileBytes)) + " bytes).");
    }
    return ReadAudioBytes(bytes, shownName);
}

std::string FrameSourceText(FrameSource source) {
    switch (source) {
    case FrameSource::Clm:
        return "'clm ' chunk";
    case FrameSource::Srge:
        return "'srge' chunk";
    case FrameSource::Uhwt:
        return "'uhWT' chunk";
    case FrameSource::Cue:
        return "'cue ' points";
    case FrameSource::Smpl:
        return "'smpl' loop";
    case FrameSource::WtHeader:
        return ".wt header";
    case FrameSource::Untagged:
        break;
    }
    return "no tag";
}

int ProposedFrameLength(const AudioFile &file) {
    if (file.TaggedFrameLength > 0)
        return file.TaggedFrameLength;
    const std::size_t total = file.Samples.size();
    if (total == static_cast<std::size_t>(kTable256Samples))
        return 256;
    if (total >= static_cast<std::size_t>(kProposedFrameLength) &&
        total % kProposedFrameLength == 0)
        return kProposedFrameLength;
    return kWholeFile;
}

std::vector<int> OfferedFrameLengths(const AudioFile &file) {
    std::vector<int> offered;
    const auto standard = std::begin(kStandardFrameLengths);
    const auto standardEnd = std::end(kStandardFrameLengths);
    if (file.TaggedFrameLength > 0 &&
        std::find(standard, standardEnd, file.TaggedFrameLength) == standardEnd)
        offered.push_back(file.TaggedFrameLength);
    offered.insert(offered.end(), standard, standardEnd);
    offered.push_back(kWholeFile);
    return offered;
}

std::int64_t FrameLengthInSamples(const AudioFile &file, int choice) {
    return choice == kWholeFile ? static_cast<std::int64_t>(file.Samples.size()) : choice;
}

void ImportAudioFrames(const AudioFile &file, const ImportSettings &settings, Wavetable &table) {
    if (settings.First < 1 || settings.Last > kWaveCount || settings.Last < settings.First)
        throw Error("The target waves " + std::to_string(settings.First) + " to " +
                    std::to_string(settings.Last) + " are no range of waves 1 to 64.");
    const std::int64_t length = FrameLengthInSamples(file, settings.FrameLength);
    const std::int64_t frames = FrameCount(file, settings.FrameLength);
    if (length < kMinFrameLength)
        throw Error(file.ShownName + " has frames of " + std::to_string(length) +
                    " samples; a frame needs at least " + std::to_string(kMinFrameLength) + ".");
    if (frames == 0)
        throw Error(file.ShownName + " holds no whole frame of " +
                    GroupedNumber(static_cast<std::uint64_t>(length)) + " samples (it has " +
                    GroupedNumber(file.Samples.size()) + ").");
    const int waveCount = settings.Last - settings.First + 1;
    const std::vector<WaveSource> map = MapFramesToWaves(frames, waveCount);

    // Only the frames the mapping takes are resampled: at most two per wave.
    PeriodResampler resampler(static_cast<std::size_t>(length), kSampleCount);
    std::map<int, std::array<double, kSampleCount>> resampled;
    auto frameWave = [&](int frame) -> const std::array<double, kSampleCount> & {
        auto [place, added] = resampled.try_emplace(frame);
        if (added) {
            const auto start = static_cast<std::size_t>(frame) * static_cast<std::size_t>(length);
            resampler.Run(std::span<const double>(file.Samples)
                              .subspan(start, static_cast<std::size_t>(length)),
                          place->second);
        }
        return place->second;
    };

    std::vector<std::array<double, kSampleCount>> waves(map.size());
    double peak = 0.0;
    for (std::size_t j = 0; j < map.size(); ++j) {
        const std::array<double, kSampleCount> &a = frameWave(map[j].From);
        const std::array<double, kSampleCount> &b = frameWave(map[j].To);
        for (int k = 0; k < kSampleCount; ++k) {
            const auto i = static_cast<std::size_t>(k);
            const double v = a[i] + (b[i] - a[i]) * map[j].Weight;
            waves[j][i] = v;
            peak = std::max(peak, std::fabs(v));
        }
    }
    // Normalising takes the loudest sample of the waves as they go into the table, so that no
    // value of the range overshoots; a silent file stays silent.
    const double gain = settings.Normalise ? (peak > 0.0 ? kMaxSample / peak : 0.0) : kMaxSample;
    for (std::size_t j = 0; j < waves.size(); ++j) {
        const int waveIndex = settings.First - 1 + static_cast<int>(j);
        for (int k = 0; k < kSampleCount; ++k) {
            const double scaled = std::round(waves[j][static_cast<std::size_t>(k)] * gain);
            const double clipped = std::clamp(scaled, -double{kMaxSample}, double{kMaxSample});
            WriteSample(table, waveIndex, k, static_cast<std::int32_t>(clipped));
        }
    }
}

} // namespace morvane::exchange
