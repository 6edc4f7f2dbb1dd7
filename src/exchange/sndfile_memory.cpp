#include "exchange/sndfile_memory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <sndfile.h>

#include "document/error.h"
#include "exchange/limits.h"

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

} // namespace

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

} // namespace morvane::exchange
