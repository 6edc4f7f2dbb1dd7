#include "exchange/audio_import.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>

#include <sndfile.h>

#include "document/error.h"
#include "exchange/chunk_reader.h"
#include "exchange/limits.h"
#include "exchange/resample.h"
#include "files/byte_reader.h"

namespace morvane::exchange {

namespace {

// libsndfile reads the file from memory, the same bytes the chunk reader walks, so that the
// file is opened once and cannot change between the two.
struct MemoryFile {
    std::span<const std::uint8_t> Bytes;
    sf_count_t Position = 0;
};

sf_count_t MemoryLength(void *user) {
    return static_cast<sf_count_t>(static_cast<MemoryFile *>(user)->Bytes.size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void *user) {
    auto *file = static_cast<MemoryFile *>(user);
    const auto size = static_cast<sf_count_t>(file->Bytes.size());
    sf_count_t target = offset;
    if (whence == SEEK_CUR)
        target = file->Position + offset;
    else if (whence == SEEK_END)
        target = size + offset;
    if (target < 0)
        return -1;
    file->Position = std::min(target, size);
    return file->Position;
}

sf_count_t MemoryRead(void *destination, sf_count_t count, void *user) {
    auto *file = static_cast<MemoryFile *>(user);
    const auto size = static_cast<sf_count_t>(file->Bytes.size());
    if (count <= 0 || file->Position >= size)
        return 0;
    const sf_count_t n = std::min(count, size - file->Position);
    std::memcpy(destination, file->Bytes.data() + file->Position, static_cast<std::size_t>(n));
    file->Position += n;
    return n;
}

sf_count_t MemoryWrite(const void *, sf_count_t, void *) {
    return 0;
}

sf_count_t MemoryTell(void *user) {
    return static_cast<MemoryFile *>(user)->Position;
}

struct SndfileCloser {
    void operator()(SNDFILE *file) const { sf_close(file); }
};

std::string MajorFormatText(int format) {
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
        return "WAV";
    case SF_FORMAT_WAVEX:
        return "WAV (extensible)";
    case SF_FORMAT_AIFF:
        return "AIFF";
    case SF_FORMAT_FLAC:
        return "FLAC";
    case SF_FORMAT_OGG:
        return "Ogg";
    case SF_FORMAT_W64:
        return "Wave64";
    case SF_FORMAT_RF64:
        return "RF64";
    case SF_FORMAT_CAF:
        return "CAF";
    default:
        return "audio file";
    }
}

std::string SubtypeText(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
        return "8-bit integer";
    case SF_FORMAT_PCM_16:
        return "16-bit integer";
    case SF_FORMAT_PCM_24:
        return "24-bit integer";
    case SF_FORMAT_PCM_32:
        return "32-bit integer";
    case SF_FORMAT_FLOAT:
        return "32-bit float";
    case SF_FORMAT_DOUBLE:
        return "64-bit float";
    case SF_FORMAT_VORBIS:
        return "Vorbis";
    case SF_FORMAT_OPUS:
        return "Opus";
    default:
        return "compressed";
    }
}

std::string ChannelText(int channels) {
    if (channels == 1)
        return "mono";
    if (channels == 2)
        return "stereo mixed to mono";
    return std::to_string(channels) + " channels mixed to mono";
}

[[noreturn]] void TooLong(const std::string &name) {
    throw Error(name + " is too long for a wavetable: it holds more than " +
                GroupedNumber(kMaxSamples) + " samples.");
}

// The frame tag of a RIFF file, in the order of precedence. A tag that names a frame length
// but gives none that makes sense is refused rather than guessed around.
void FindFrameTag(const FileChunks &chunks, AudioFile &file) {
    const auto total = static_cast<std::uint64_t>(file.Samples.size());
    if (const Chunk *clm = chunks.Find("clm ")) {
        const std::optional<int> length = ClmFrameLength(clm->Data);
        if (!length)
            throw Error(file.ShownName +
                        " has a 'clm ' chunk that gives no frame length (it should begin "
                        "\"<!>\" and the number of samples per frame, as \"<!>2048\").");
        file.Source = FrameSource::Clm;
        file.TaggedFrameLength = *length;
        return;
    }
    if (const Chunk *srge = chunks.Find("srge")) {
        const std::optional<int> length = SrgeFrameLength(srge->Data);
        if (!length)
            throw Error(file.ShownName +
                        " has a 'srge' chunk that gives no frame length (its frame size must "
                        "lie between " +
                        std::to_string(kMinFrameLength) + " and " + GroupedNumber(kMaxSamples) +
                        ").");
        file.Source = FrameSource::Srge;
        file.TaggedFrameLength = *length;
        return;
    }
    if (chunks.Find("uhWT") != nullptr) {
        constexpr int kUhwtFrameLength = 2048; // that synth's tables are always 2048 per frame
        file.Source = FrameSource::Uhwt;
        file.TaggedFrameLength = kUhwtFrameLength;
        return;
    }
    // Cue points and loops are common in ordinary samples too: one that does not describe
    // frames is no tag, and the file counts as untagged.
    if (const Chunk *cue = chunks.Find("cue ")) {
        if (const std::optional<int> spacing = CueSpacing(cue->Data, total)) {
            file.Source = FrameSource::Cue;
            file.TaggedFrameLength = *spacing;
            return;
        }
    }
    if (const Chunk *smpl = chunks.Find("smpl")) {
        if (const std::optional<int> length = SmplLoopLength(smpl->Data, total)) {
            file.Source = FrameSource::Smpl;
            file.TaggedFrameLength = *length;
            return;
        }
    }
}

void ReadSurgeFrames(std::span<const std::uint8_t> bytes, AudioFile &file) {
    const SurgeWt wt = ReadSurgeWt(bytes, file.ShownName);
    const std::size_t count = static_cast<std::size_t>(wt.FrameSize) * wt.FrameCount;
    file.Samples.resize(count);
    files::ByteReader reader(wt.Data);
    // 16-bit frames use half the range unless flag 08 says otherwise.
    const double scale16 = wt.FullRange16 ? 1.0 / 32768.0 : 1.0 / 16384.0;
    for (std::size_t n = 0; n < count; ++n) {
        if (wt.Int16) {
            std::array<std::uint8_t, 2> b{};
            reader.Read(b);
            const auto value = static_cast<std::int16_t>(b[0] | (b[1] << 8));
            file.Samples[n] = value * scale16;
        } else {
            std::array<std::uint8_t, 4> b{};
            reader.Read(b);
            const std::uint32_t bits = std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) |
                                       (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[3]} << 24);
            const auto value = std::bit_cast<float>(bits);
            // A float that is no number would poison the whole transform.
            file.Samples[n] = std::isfinite(value) ? value : 0.0;
        }
    }
    file.FormatText =
        std::string("Surge wavetable, ") + (wt.Int16 ? "16-bit integer" : "32-bit float") + ", " +
        std::to_string(wt.FrameCount) + " frames of " + std::to_string(wt.FrameSize) + " samples";
    if (!wt.IsSample) {
        file.Source = FrameSource::WtHeader;
        file.TaggedFrameLength = wt.FrameSize;
    }
}

void ReadWithSndfile(std::span<const std::uint8_t> bytes, AudioFile &file) {
    MemoryFile memory{bytes, 0};
    SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndfileCloser> sound(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!sound)
        throw Error(file.ShownName +
                    " is no audio file that can be read: " + std::string(sf_strerror(nullptr)) +
                    " (WAV, AIFF, FLAC, Ogg and Surge .wt files are.)");
    if (info.channels < 1)
        throw Error(file.ShownName + " has no channels.");
    if (info.frames > kMaxSamples)
        TooLong(file.ShownName);
    const auto channels = static_cast<std::size_t>(info.channels);
    constexpr std::size_t kBlockFrames = 4096;
    std::vector<double> block(kBlockFrames * channels);
    file.Samples.reserve(static_cast<std::size_t>(std::max<sf_count_t>(info.frames, 0)));
    for (;;) {
        const sf_count_t got =
            sf_readf_double(sound.get(), block.data(), static_cast<sf_count_t>(kBlockFrames));
        if (got <= 0)
            break;
        for (sf_count_t f = 0; f < got; ++f) {
            double sum = 0.0;
            for (std::size_t c = 0; c < channels; ++c)
                sum += block[static_cast<std::size_t>(f) * channels + c];
            const double mono = sum / static_cast<double>(channels);
            file.Samples.push_back(std::isfinite(mono) ? mono : 0.0);
        }
        if (static_cast<std::int64_t>(file.Samples.size()) > kMaxSamples)
            TooLong(file.ShownName);
    }
    if (sf_error(sound.get()) != SF_ERR_NO_ERROR)
        throw Error(file.ShownName + " cannot be read: " + sf_strerror(sound.get()));
    if (info.frames > 0 && static_cast<sf_count_t>(file.Samples.size()) < info.frames)
        throw Error(file.ShownName + " is cut short: it declares " +
                    GroupedNumber(static_cast<std::uint64_t>(info.frames)) + " samples, only " +
                    GroupedNumber(file.Samples.size()) + " are there.");
    if (info.samplerate > 0)
        file.SampleRate = info.samplerate;
    file.FormatText = MajorFormatText(info.format) + ", " + SubtypeText(info.format) + ", " +
                      ChannelText(info.channels) + ", " +
                      GroupedNumber(static_cast<std::uint64_t>(std::max(info.samplerate, 0))) +
                      " Hz";
}

std::int64_t RoundedDivision(std::int64_t numerator, std::int64_t denominator) {
    // Rounds half up; both are non-negative here.
    return (2 * numerator + denominator) / (2 * denominator);
}

} // namespace

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
