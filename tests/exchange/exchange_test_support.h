#pragma once

// Helpers that make the test files of the exchange tests: a temporary folder, a RIFF writer
// of our own that knows nothing of the code under test, and libsndfile for the audio formats.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sndfile.h>

#include "document/wave_message.h"
#include "support/file_contents.h"
#include "support/temp_folder.h"

namespace morvane::exchange::test {

namespace fs = std::filesystem;

using testing_support::ReadAll;
using testing_support::TempFolder;
using testing_support::WriteAll;

using Bytes = std::vector<std::uint8_t>;

inline void PutU16(Bytes &out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutU32(Bytes &out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}
inline void PutText(Bytes &out, const std::string &text) {
    out.insert(out.end(), text.begin(), text.end());
}
inline void PutFloat(Bytes &out, float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    PutU32(out, bits);
}

struct TestChunk {
    std::string Id;
    Bytes Data;
};

// A RIFF/WAVE file: 'fmt ' for mono 32-bit float or 16-bit PCM at 44,100 Hz, then the extra
// chunks, then 'data'.
inline Bytes MakeWav(const std::vector<double> &samples, const std::vector<TestChunk> &extra,
                     bool float32 = true) {
    Bytes body;
    PutText(body, "WAVE");
    Bytes fmt;
    PutU16(fmt, float32 ? 3 : 1);
    PutU16(fmt, 1);
    PutU32(fmt, 44100);
    PutU32(fmt, 44100 * (float32 ? 4 : 2));
    PutU16(fmt, float32 ? 4 : 2);
    PutU16(fmt, float32 ? 32 : 16);
    auto chunk = [&body](const std::string &id, const Bytes &data) {
        PutText(body, id);
        PutU32(body, static_cast<std::uint32_t>(data.size()));
        body.insert(body.end(), data.begin(), data.end());
        if (data.size() % 2 != 0)
            body.push_back(0);
    };
    chunk("fmt ", fmt);
    for (const TestChunk &c : extra)
        chunk(c.Id, c.Data);
    Bytes data;
    for (double s : samples) {
        if (float32) {
            PutFloat(data, static_cast<float>(s));
        } else {
            const long v = std::lround(s * 32767.0);
            PutU16(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
        }
    }
    chunk("data", data);
    Bytes file;
    PutText(file, "RIFF");
    PutU32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

inline TestChunk TextChunk(const std::string &id, const std::string &text) {
    TestChunk c{id, {}};
    PutText(c.Data, text);
    return c;
}

inline TestChunk SrgeChunk(std::uint32_t version, std::uint32_t frameSize) {
    TestChunk c{"srge", {}};
    PutU32(c.Data, version);
    PutU32(c.Data, frameSize);
    return c;
}

// A 'cue ' chunk with points at the given sample offsets (position and offset both set).
inline TestChunk CueChunk(const std::vector<std::uint32_t> &offsets) {
    TestChunk c{"cue ", {}};
    PutU32(c.Data, static_cast<std::uint32_t>(offsets.size()));
    std::uint32_t id = 1;
    for (std::uint32_t offset : offsets) {
        PutU32(c.Data, id++);
        PutU32(c.Data, offset);
        PutText(c.Data, "data");
        PutU32(c.Data, 0);
        PutU32(c.Data, 0);
        PutU32(c.Data, offset);
    }
    return c;
}

// A 'smpl' chunk with one forward loop start..end (end inclusive).
inline TestChunk SmplChunk(std::uint32_t start, std::uint32_t end) {
    TestChunk c{"smpl", {}};
    for (int i = 0; i < 7; ++i) // manufacturer .. SMPTE offset
        PutU32(c.Data, i == 2 ? 22675 : (i == 3 ? 60 : 0));
    PutU32(c.Data, 1); // loops
    PutU32(c.Data, 0); // sampler data
    PutU32(c.Data, 0); // cue point id
    PutU32(c.Data, 0); // forward
    PutU32(c.Data, start);
    PutU32(c.Data, end);
    PutU32(c.Data, 0);
    PutU32(c.Data, 0);
    return c;
}

// Writes interleaved samples with libsndfile in the given format; returns false on failure.
inline bool WriteSndfile(const std::string &path, int format, int channels,
                         const std::vector<double> &interleaved, int rate = 44100) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    // Clip floats to integer full scale as a recording would.
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / channels;
    const sf_count_t written = sf_writef_double(file, interleaved.data(), frames);
    sf_close(file);
    return written == frames;
}

// Frame f of a test table: a few harmonics well below 64 with an amplitude and phase of its
// own, so that the band-limited resampling of any frame length gives the same curve, sampled
// at the new length: Curve(f, x) for x in [0, 1).
inline double Curve(int f, double x) {
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    const double amplitude = 0.2 + 0.6 * static_cast<double>(f % 97) / 96.0;
    const double phase = 0.37 * f;
    return amplitude *
           (0.6 * std::sin(kTwoPi * x + phase) + 0.3 * std::sin(kTwoPi * 3 * x + 2 * phase) +
            0.1 * std::cos(kTwoPi * 7 * x - phase));
}

// frames * length samples: frame f holds Curve(f, n / length).
inline std::vector<double> CurveFrames(int frames, int length) {
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(frames) * static_cast<std::size_t>(length));
    for (int f = 0; f < frames; ++f)
        for (int n = 0; n < length; ++n)
            samples.push_back(Curve(f, static_cast<double>(n) / length));
    return samples;
}

// What wave w of a table must hold when frame f went in at the file's level.
inline std::int32_t ExpectedSample(int f, int k) {
    return static_cast<std::int32_t>(std::lround(Curve(f, k / 128.0) * 1048575.0));
}

// A table whose every sample is a value of the codec's range, from a simple generator of our
// own, with the loudest sample at full scale.
inline Wavetable NoiseTable(std::uint32_t seed) {
    Wavetable table;
    FillNewWavetable(table, 0);
    std::uint32_t state = seed;
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 0; k < kSampleCount; ++k) {
            state = state * 1664525u + 1013904223u;
            const auto value =
                static_cast<std::int32_t>(state % (2u * kMaxSample + 1)) - kMaxSample;
            WriteSample(table, w, k, value);
        }
    WriteSample(table, 17, 40, kMaxSample);
    return table;
}

} // namespace morvane::exchange::test
