#include "exchange/audio_import.h"

#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "document/error.h"
#include "exchange_test_support.h"

namespace morvane::exchange {
namespace {

using test::Bytes;
using test::TempFolder;

// Every sample of waves first..last against frame `frames[j]` of the curve family, at the
// file's level, within `tolerance` units.
void ExpectFrames(const Wavetable &table, int first, const std::vector<int> &frames,
                  int tolerance) {
    for (std::size_t j = 0; j < frames.size(); ++j) {
        const int wave = first - 1 + static_cast<int>(j);
        for (int k = 0; k < kSampleCount; ++k) {
            SCOPED_TRACE("wave " + std::to_string(wave + 1) + " sample " + std::to_string(k + 1));
            const std::int32_t expected = test::ExpectedSample(frames[j], k);
            // -1 is stored as 0 by the codec.
            ASSERT_NEAR(ReadSample(table, wave, k), expected == -1 ? 0 : expected, tolerance);
        }
    }
}

std::vector<int> Iota(int n) {
    std::vector<int> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] = i;
    return v;
}

Wavetable NewTable() {
    Wavetable table;
    FillNewWavetable(table, 0);
    return table;
}

ImportSettings Keep(int frameLength, int first = 1, int last = 64) {
    return ImportSettings{frameLength, false, first, last};
}

// Expects ReadAudioFile to refuse the file with a message containing `part`.
void ExpectRefused(const std::string &path, const std::string &part) {
    try {
        ReadAudioFile(path);
        ADD_FAILURE() << path << " was accepted";
    } catch (const Error &e) {
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

TEST(AudioImport, ATaggedTableOf256FramesGoesIntoTheRangeEvenlySpaced) {
    TempFolder folder;
    const std::string path = folder.File("table256.wav");
    test::WriteAll(path, test::MakeWav(test::CurveFrames(256, 2048),
                                       {test::TextChunk("clm ", "<!>2048 10000000 wavetable")}));
    const AudioFile file = ReadAudioFile(path);
    EXPECT_EQ(file.Source, FrameSource::Clm);
    EXPECT_EQ(ProposedFrameLength(file), 2048);
    EXPECT_EQ(FrameCount(file, 2048), 256);
    EXPECT_EQ(FramesFoundText(file, 2048), "256 frames of 2,048 samples");
    EXPECT_EQ(file.FormatText, "WAV, 32-bit float, mono, 44,100 Hz");

    Wavetable table = NewTable();
    const Wavetable before = table;
    ImportAudioFrames(file, Keep(2048), table);
    // Wave j takes frame round(j * 255 / 63): 0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 45, ...
    std::vector<int> expected;
    for (int j = 0; j < 64; ++j)
        expected.push_back(static_cast<int>(std::lround(j * 255.0 / 63.0)));
    EXPECT_EQ(expected[11], 45);
    EXPECT_EQ(expected[63], 255);
    ExpectFrames(table, 1, expected, 1);
    // Only samples change: headers and names stay.
    for (int w = 0; w < kWaveCount; ++w) {
        EXPECT_TRUE(
            std::equal(table.Message(w), table.Message(w) + kOffsetSamples, before.Message(w)));
        EXPECT_TRUE(std::equal(table.Message(w) + kOffsetName, table.Message(w) + kMessageSize,
                               before.Message(w) + kOffsetName));
    }
}

TEST(AudioImport, EachTagGivesTheFrameLengthInItsOrder) {
    TempFolder folder;
    struct Case {
        const char *name;
        int length;
        std::vector<test::TestChunk> chunks;
        FrameSource source;
    };
    const std::vector<Case> cases = {
        {"srge", 1024, {test::SrgeChunk(1, 1024)}, FrameSource::Srge},
        {"uhwt", 2048, {test::TextChunk("uhWT", "anything")}, FrameSource::Uhwt},
        {"cue",
         512,
         {test::CueChunk({0, 512, 1024, 1536, 2048, 2560, 3072, 3584})},
         FrameSource::Cue},
        {"smpl", 256, {test::SmplChunk(0, 255)}, FrameSource::Smpl},
        // Precedence: 'clm ' before 'srge' before 'uhWT' before cue points before the loop.
        {"clm-first",
         256,
         {test::SmplChunk(0, 511), test::SrgeChunk(1, 512), test::TextChunk("clm ", "<!>256")},
         FrameSource::Clm},
        {"srge-second",
         512,
         {test::TextChunk("uhWT", ""), test::SrgeChunk(1, 512)},
         FrameSource::Srge},
        {"uhwt-third",
         2048,
         {test::CueChunk({0, 256}), test::TextChunk("uhWT", "")},
         FrameSource::Uhwt},
        {"cue-fourth",
         128,
         {test::SmplChunk(0, 255), test::CueChunk({0, 128, 256})},
         FrameSource::Cue},
        // Cue points that are no frames leave the loop to decide.
        {"smpl-after-odd-cues",
         1024,
         {test::CueChunk({0, 100, 900}), test::SmplChunk(0, 1023)},
         FrameSource::Smpl},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int frames = 8192 / c.length;
        const std::string path = folder.File(std::string(c.name) + ".wav");
        test::WriteAll(path, test::MakeWav(test::CurveFrames(frames, c.length), c.chunks));
        const AudioFile file = ReadAudioFile(path);
        EXPECT_EQ(file.Source, c.source);
        EXPECT_EQ(ProposedFrameLength(file), c.length);
        ASSERT_EQ(FrameCount(file, c.length), frames);
        Wavetable table = NewTable();
        ImportAudioFrames(file, Keep(c.length, 1, frames), table);
        ExpectFrames(table, 1, Iota(frames), 1);
    }
}

TEST(AudioImport, UntaggedFilesProposeALengthAndTakeEveryChoice) {
    TempFolder folder;
    struct Proposal {
        int samples;
        int proposed;
    };
    // 2048 for multiples of it, 64 x 256 recognised, the whole file otherwise.
    for (const Proposal p :
         {Proposal{16384, 256}, Proposal{8192, 2048}, Proposal{2048, 2048}, Proposal{524288, 2048},
          Proposal{600, kWholeFile}, Proposal{1024, kWholeFile}, Proposal{3000, kWholeFile}}) {
        SCOPED_TRACE(p.samples);
        const std::string path = folder.File("p" + std::to_string(p.samples) + ".wav");
        test::WriteAll(
            path, test::MakeWav(std::vector<double>(static_cast<std::size_t>(p.samples), 0.1), {}));
        const AudioFile file = ReadAudioFile(path);
        EXPECT_EQ(file.Source, FrameSource::Untagged);
        EXPECT_EQ(ProposedFrameLength(file), p.proposed);
    }

    // A file of 32 frames of 128, read at every offered length.
    const std::string path = folder.File("untagged.wav");
    test::WriteAll(path, test::MakeWav(test::CurveFrames(32, 128), {}));
    const AudioFile file = ReadAudioFile(path);
    const std::vector<int> offered = OfferedFrameLengths(file);
    EXPECT_EQ(offered, (std::vector<int>{128, 256, 512, 1024, 2048, 4096, kWholeFile}));
    EXPECT_EQ(FrameCount(file, 128), 32);
    EXPECT_EQ(FrameCount(file, 256), 16);
    EXPECT_EQ(FrameCount(file, 4096), 1);
    EXPECT_EQ(FrameCount(file, kWholeFile), 1);
    Wavetable table = NewTable();
    ImportAudioFrames(file, Keep(128, 1, 32), table);
    ExpectFrames(table, 1, Iota(32), 1);

    // Each standard length, untagged, with frames that are the curves at that length.
    for (int length : kStandardFrameLengths) {
        SCOPED_TRACE(length);
        const std::string p = folder.File("len" + std::to_string(length) + ".wav");
        test::WriteAll(p, test::MakeWav(test::CurveFrames(4, length), {}));
        const AudioFile f = ReadAudioFile(p);
        Wavetable t = NewTable();
        ImportAudioFrames(f, Keep(length, 10, 13), t);
        ExpectFrames(t, 10, Iota(4), 1);
        // Waves outside the range are untouched.
        EXPECT_EQ(ReadSample(t, 8, 0), 25725);
        EXPECT_EQ(ReadSample(t, 13, 0), 25725);
    }

    // The whole file as one cycle, of a length that is no power of two.
    const std::string single = folder.File("single.wav");
    test::WriteAll(single, test::MakeWav(test::CurveFrames(1, 600), {}));
    const AudioFile one = ReadAudioFile(single);
    EXPECT_EQ(FramesFoundText(one, kWholeFile), "1 frame of 600 samples");
    EXPECT_EQ(FramesFoundText(one, 256),
              "2 frames of 256 samples (the last 88 samples are not used)");
    EXPECT_EQ(FramesFoundText(one, 1024), "No whole frame of 1,024 samples in 600 samples");
    Wavetable t = NewTable();
    ImportAudioFrames(one, Keep(kWholeFile, 5, 5), t);
    ExpectFrames(t, 5, {0}, 1);
}

TEST(AudioImport, ReadsTheAudioFormatsThroughLibsndfile) {
    TempFolder folder;
    const std::vector<double> mono = test::CurveFrames(4, 2048);
    // Stereo: the left and right channels differ, their mean is the curve.
    std::vector<double> stereo;
    for (std::size_t n = 0; n < mono.size(); ++n) {
        const double offset =
            0.1 * std::sin(0.001 * static_cast<double>(n) * static_cast<double>(n % 7));
        stereo.push_back(mono[n] + offset);
        stereo.push_back(mono[n] - offset);
    }
    struct Format {
        const char *name;
        int format;
        int channels;
        int tolerance; // units of the 21-bit range that the format's resolution allows
        const char *text;
    };
    const std::vector<Format> formats = {
        {"pcm16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 80,
         "WAV, 16-bit integer, mono, 44,100 Hz"},
        {"pcm24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 2,
         "WAV, 24-bit integer, mono, 44,100 Hz"},
        {"pcm32.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 1, 1,
         "WAV, 32-bit integer, mono, 44,100 Hz"},
        {"u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 20000,
         "WAV, 8-bit integer, mono, 44,100 Hz"},
        {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 1, "WAV, 32-bit float, mono, 44,100 Hz"},
        {"double.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 1, 1,
         "WAV, 64-bit float, mono, 44,100 Hz"},
        {"stereo.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 1,
         "WAV, 32-bit float, stereo mixed to mono, 44,100 Hz"},
        {"stereo16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 80,
         "WAV, 16-bit integer, stereo mixed to mono, 44,100 Hz"},
        {"pcm16.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 80,
         "AIFF, 16-bit integer, mono, 44,100 Hz"},
        {"pcm24.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, 2,
         "AIFF, 24-bit integer, stereo mixed to mono, 44,100 Hz"},
        {"pcm16.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 80,
         "FLAC, 16-bit integer, mono, 44,100 Hz"},
        {"pcm24.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 2, 2,
         "FLAC, 24-bit integer, stereo mixed to mono, 44,100 Hz"},
    };
    for (const Format &f : formats) {
        SCOPED_TRACE(f.name);
        const std::string path = folder.File(f.name);
        ASSERT_TRUE(
            test::WriteSndfile(path, f.format, f.channels, f.channels == 1 ? mono : stereo));
        const AudioFile file = ReadAudioFile(path);
        EXPECT_EQ(file.FormatText, f.text);
        EXPECT_EQ(file.Samples.size(), mono.size());
        EXPECT_EQ(ProposedFrameLength(file), 2048);
        Wavetable table = NewTable();
        ImportAudioFrames(file, Keep(2048, 1, 4), table);
        ExpectFrames(table, 1, Iota(4), f.tolerance);
    }
}

TEST(AudioImport, ReadsOggVorbis) {
    TempFolder folder;
    const std::string path = folder.File("table.ogg");
    // Vorbis is lossy: only the shape is checked, as the correlation with the curve.
    if (!test::WriteSndfile(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, test::CurveFrames(8, 2048)))
        GTEST_SKIP() << "this libsndfile writes no Ogg Vorbis";
    const AudioFile file = ReadAudioFile(path);
    EXPECT_EQ(file.FormatText.rfind("Ogg, Vorbis, mono", 0), 0u) << file.FormatText;
    Wavetable table = NewTable();
    ImportAudioFrames(file, Keep(2048, 1, 8), table);
    for (int f = 0; f < 8; ++f) {
        double dot = 0, a = 0, b = 0;
        for (int k = 0; k < kSampleCount; ++k) {
            const double x = ReadSample(table, f, k);
            const double y = test::ExpectedSample(f, k);
            dot += x * y;
            a += x * x;
            b += y * y;
        }
        EXPECT_GT(dot / std::sqrt(a * b), 0.99) << "frame " << f;
    }
}

TEST(AudioImport, ReadsSurgeWtFiles) {
    TempFolder folder;
    const int frames = 5;
    const int length = 1024;
    const std::vector<double> samples = test::CurveFrames(frames, length);
    auto header = [](std::uint32_t size, std::uint16_t count, std::uint16_t flags) {
        Bytes b = {'v', 'a', 'w', 't'};
        test::PutU32(b, size);
        test::PutU16(b, count);
        test::PutU16(b, flags);
        return b;
    };
    {
        Bytes wt = header(length, frames, 0);
        for (double s : samples)
            test::PutFloat(wt, static_cast<float>(s));
        test::PutText(wt, "<xml/>"); // metadata after the frames is no concern
        const std::string path = folder.File("float.wt");
        test::WriteAll(path, wt);
        const AudioFile file = ReadAudioFile(path);
        EXPECT_EQ(file.Source, FrameSource::WtHeader);
        EXPECT_EQ(ProposedFrameLength(file), length);
        EXPECT_EQ(file.FormatText, "Surge wavetable, 32-bit float, 5 frames of 1024 samples");
        Wavetable table = NewTable();
        ImportAudioFrames(file, Keep(length, 20, 24), table);
        ExpectFrames(table, 20, Iota(frames), 1);
    }
    {
        // 16-bit frames at half range (1.0 = 16384) unless flag 08 says full range.
        for (const bool full : {false, true}) {
            SCOPED_TRACE(full ? "full range" : "half range");
            Bytes wt = header(length, frames, static_cast<std::uint16_t>(full ? 0x0C : 0x04));
            const double scale = full ? 32767.0 : 16384.0;
            for (double s : samples)
                test::PutU16(wt, static_cast<std::uint16_t>(
                                     static_cast<std::int16_t>(std::lround(s * scale))));
            const std::string path = folder.File(full ? "full16.wt" : "half16.wt");
            test::WriteAll(path, wt);
            const AudioFile file = ReadAudioFile(path);
            Wavetable table = NewTable();
            ImportAudioFrames(file, Keep(length, 1, 5), table);
            ExpectFrames(table, 1, Iota(frames), full ? 80 : 140);
        }
    }
}

TEST(AudioImport, NormalisesTheLoudestSampleOrKeepsTheLevel) {
    TempFolder folder;
    const std::string path = folder.File("quiet.wav");
    std::vector<double> samples = test::CurveFrames(2, 2048);
    for (double &s : samples)
        s *= 0.25;
    test::WriteAll(path, test::MakeWav(samples, {test::TextChunk("clm ", "<!>2048")}));
    const AudioFile file = ReadAudioFile(path);

    Wavetable kept = NewTable();
    ImportAudioFrames(file, Keep(2048, 1, 2), kept);
    Wavetable normalised = NewTable();
    ImportAudioFrames(file, ImportSettings{2048, true, 1, 2}, normalised);

    // The peak of the two resampled frames, from the curves themselves.
    double peak = 0;
    for (int f = 0; f < 2; ++f)
        for (int k = 0; k < kSampleCount; ++k)
            peak = std::max(peak, std::fabs(0.25 * test::Curve(f, k / 128.0)));
    int fullScale = 0;
    for (int f = 0; f < 2; ++f)
        for (int k = 0; k < kSampleCount; ++k) {
            const double expected = 0.25 * test::Curve(f, k / 128.0) / peak * kMaxSample;
            ASSERT_NEAR(ReadSample(normalised, f, k), expected, 1.0);
            ASSERT_NEAR(ReadSample(kept, f, k), 0.25 * test::Curve(f, k / 128.0) * kMaxSample, 1.0);
            fullScale += std::abs(ReadSample(normalised, f, k)) == kMaxSample;
        }
    EXPECT_GE(fullScale, 1);

    // A silent file stays silent when normalised; a file beyond full scale is clipped when
    // its level is kept.
    const std::string silent = folder.File("silent.wav");
    test::WriteAll(silent, test::MakeWav(std::vector<double>(2048, 0.0), {}));
    Wavetable quiet = NewTable();
    ImportAudioFrames(ReadAudioFile(silent), ImportSettings{2048, true, 3, 3}, quiet);
    for (int k = 0; k < kSampleCount; ++k)
        ASSERT_EQ(ReadSample(quiet, 2, k), 0);
    const std::string loud = folder.File("loud.wav");
    test::WriteAll(loud, test::MakeWav(std::vector<double>(128, 3.0), {}));
    Wavetable clipped = NewTable();
    ImportAudioFrames(ReadAudioFile(loud), Keep(128, 1, 1), clipped);
    EXPECT_EQ(ReadSample(clipped, 0, 0), kMaxSample);
    ImportAudioFrames(ReadAudioFile(loud), ImportSettings{128, true, 1, 1}, clipped);
    EXPECT_EQ(ReadSample(clipped, 0, 77), kMaxSample);
}

TEST(FrameMapping, SpreadsOneSixtyFourAHundredAnd256Frames) {
    // One frame fills every wave.
    const std::vector<WaveSource> one = MapFramesToWaves(1, 64);
    ASSERT_EQ(one.size(), 64u);
    for (const WaveSource &s : one)
        EXPECT_EQ(s, (WaveSource{0, 0, 0.0}));
    // As many frames as waves: one each, in order.
    const std::vector<WaveSource> same = MapFramesToWaves(64, 64);
    for (int j = 0; j < 64; ++j)
        EXPECT_EQ(same[static_cast<std::size_t>(j)], (WaveSource{j, j, 0.0}));
    // More frames than waves: evenly spaced, first and last included.
    for (const int frames : {100, 256}) {
        SCOPED_TRACE(frames);
        const std::vector<WaveSource> map = MapFramesToWaves(frames, 64);
        ASSERT_EQ(map.size(), 64u);
        for (int j = 0; j < 64; ++j) {
            const int expected = static_cast<int>(std::lround(j * (frames - 1.0) / 63.0));
            EXPECT_EQ(map[static_cast<std::size_t>(j)], (WaveSource{expected, expected, 0.0})) << j;
        }
        EXPECT_EQ(map.front().From, 0);
        EXPECT_EQ(map.back().From, frames - 1);
    }
    EXPECT_EQ(MapFramesToWaves(256, 1), (std::vector<WaveSource>{{0, 0, 0.0}}));
    EXPECT_TRUE(MapFramesToWaves(0, 64).empty());
}

TEST(FrameMapping, FewerFramesThanWavesAreMorphedBetween) {
    // 3 frames over 9 waves: frames on waves 1, 5 and 9, quarters between.
    const std::vector<WaveSource> map = MapFramesToWaves(3, 9);
    const std::vector<WaveSource> expected = {{0, 0, 0.0},  {0, 1, 0.25}, {0, 1, 0.5},
                                              {0, 1, 0.75}, {1, 1, 0.0},  {1, 2, 0.25},
                                              {1, 2, 0.5},  {1, 2, 0.75}, {2, 2, 0.0}};
    EXPECT_EQ(map, expected);
    // 4 frames over 64 waves: frames on waves 1, 22, 43, 64.
    const std::vector<WaveSource> four = MapFramesToWaves(4, 64);
    EXPECT_EQ(four[21], (WaveSource{1, 1, 0.0}));
    EXPECT_EQ(four[42], (WaveSource{2, 2, 0.0}));
    EXPECT_EQ(four[63], (WaveSource{3, 3, 0.0}));
    EXPECT_EQ(four[1], (WaveSource{0, 1, 1.0 / 21.0}));
    EXPECT_EQ(
        DescribeMapping(3, 10, 12),
        (std::vector<std::string>{"Wave 10: frame 1", "Wave 11: frame 2", "Wave 12: frame 3"}));
    EXPECT_EQ(DescribeMapping(2, 1, 4)[1], "Wave 2: frames 1 and 2 morphed, 33 % of frame 2");
    EXPECT_TRUE(DescribeMapping(2, 5, 4).empty());

    // The morph in the table: the waves between two frames are their straight-line mix.
    TempFolder folder;
    const std::string path = folder.File("two.wav");
    test::WriteAll(path, test::MakeWav(test::CurveFrames(2, 256), {}));
    Wavetable table = NewTable();
    ImportAudioFrames(ReadAudioFile(path), Keep(256, 1, 5), table);
    for (int w = 0; w < 5; ++w)
        for (int k = 0; k < kSampleCount; ++k) {
            const double a = test::Curve(0, k / 128.0);
            const double b = test::Curve(1, k / 128.0);
            ASSERT_NEAR(ReadSample(table, w, k), (a + (b - a) * w / 4.0) * kMaxSample, 1.0)
                << "wave " << w << " sample " << k;
        }
}

TEST(AudioImport, RefusesBadFilesWithAClearMessage) {
    TempFolder folder;
    auto write = [&folder](const std::string &name, const Bytes &bytes) {
        const std::string path = folder.File(name);
        test::WriteAll(path, bytes);
        return path;
    };
    ExpectRefused(write("empty.wav", {}), "\"empty.wav\" is empty.");
    Bytes good = test::MakeWav(test::CurveFrames(4, 2048), {test::TextChunk("clm ", "<!>2048")});
    Bytes cutData = good;
    cutData.resize(cutData.size() - 1000);
    ExpectRefused(
        write("cut.wav", cutData),
        "\"cut.wav\" is cut short: its 'data' chunk declares 32,768 bytes, only 31,768 are there.");
    Bytes cutHeader = good;
    cutHeader.resize(30);
    ExpectRefused(write("header.wav", cutHeader), "\"header.wav\" is cut short: its 'fmt ' chunk");
    ExpectRefused(write("nodata.wav", test::MakeWav({}, {})), "\"nodata.wav\" holds no samples.");
    ExpectRefused(
        write("short.wav",
              test::MakeWav(test::CurveFrames(1, 1000), {test::TextChunk("clm ", "<!>2048")})),
        "\"short.wav\" holds no whole frame: its 'clm ' chunk gives frames of 2,048 samples, "
        "the file has 1,000.");
    for (const char *nonsense : {"hello", "<!>", "<!>zero", "<!>0", "<!>123456789"}) {
        SCOPED_TRACE(nonsense);
        ExpectRefused(write("nonsense.wav", test::MakeWav(test::CurveFrames(1, 2048),
                                                          {test::TextChunk("clm ", nonsense)})),
                      "\"nonsense.wav\" has a 'clm ' chunk that gives no frame length");
    }
    ExpectRefused(
        write("srge.wav", test::MakeWav(test::CurveFrames(1, 2048), {test::SrgeChunk(1, 0)})),
        "has a 'srge' chunk that gives no frame length");
    ExpectRefused(write("text.wav", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}),
                  "\"text.wav\" is no audio file that can be read");
    ExpectRefused(folder.File("missing.wav"), "missing.wav");
    Bytes cutWt = {'v', 'a', 'w', 't', 0, 8, 0, 0, 2, 0, 0, 0, 1, 2, 3};
    ExpectRefused(write("cut.wt", cutWt), "\"cut.wt\" is cut short");

    // The import itself refuses a frame length the file does not hold, an empty range, and
    // changes nothing then.
    const AudioFile file = ReadAudioFile(write("ok.wav", good));
    Wavetable table = NewTable();
    const Wavetable before = table;
    EXPECT_THROW(ImportAudioFrames(file, Keep(16384), table), Error);
    EXPECT_THROW(ImportAudioFrames(file, Keep(2048, 10, 9), table), Error);
    EXPECT_THROW(ImportAudioFrames(file, Keep(2048, 0, 9), table), Error);
    EXPECT_THROW(ImportAudioFrames(file, Keep(2), table), Error);
    EXPECT_EQ(table, before);
}

TEST(AudioImport, RefusesFilesTooLongAndCompressedFilesCutShort) {
    TempFolder folder;
    const std::string longPath = folder.File("long.wav");
    test::WriteAll(longPath, test::MakeWav(std::vector<double>(4194305, 0.0), {}, false));
    ExpectRefused(
        longPath,
        "\"long.wav\" is too long for a wavetable: it holds more than 4,194,304 samples.");
    // Exactly the limit is still read.
    test::WriteAll(longPath, test::MakeWav(std::vector<double>(4194304, 0.0), {}, false));
    EXPECT_EQ(ReadAudioFile(longPath).Samples.size(), 4194304u);

    // A FLAC file cut in the middle of its frames.
    const std::string flac = folder.File("cut.flac");
    ASSERT_TRUE(test::WriteSndfile(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1,
                                   test::CurveFrames(16, 2048)));
    Bytes bytes = test::ReadAll(flac);
    bytes.resize(bytes.size() / 2);
    test::WriteAll(flac, bytes);
    try {
        ReadAudioFile(flac);
        ADD_FAILURE() << "a cut FLAC file was accepted";
    } catch (const Error &e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("\"cut.flac\" ", 0), 0u) << text;
        EXPECT_TRUE(text.find("cut short") != std::string::npos ||
                    text.find("cannot be read") != std::string::npos)
            << text;
    }

    // Four channels are mixed to mono like two.
    const std::string quad = folder.File("quad.wav");
    std::vector<double> interleaved;
    for (double s : test::CurveFrames(1, 2048))
        for (const double offset : {0.1, -0.1, 0.3, -0.3})
            interleaved.push_back(s + offset);
    ASSERT_TRUE(test::WriteSndfile(quad, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4, interleaved));
    const AudioFile file = ReadAudioFile(quad);
    EXPECT_EQ(file.FormatText, "WAV, 32-bit float, 4 channels mixed to mono, 44,100 Hz");
    Wavetable table = NewTable();
    ImportAudioFrames(file, Keep(2048, 7, 7), table);
    ExpectFrames(table, 7, {0}, 1);
}

// Reads the bytes; true when accepted, false when refused with morvane::Error. Any other
// exception fails the test that calls it.
bool Accepted(const Bytes &bytes) {
    try {
        (void)ReadAudioBytes(bytes, "\"bytes\"");
        return true;
    } catch (const Error &) {
        return false;
    }
}

TEST(AudioImport, RefusesEveryCutOfAFileAndSurvivesGarbage) {
    const Bytes good = test::MakeWav(test::CurveFrames(1, 256), {test::TextChunk("clm ", "<!>256"),
                                                                 test::CueChunk({0, 64, 128})});
    ASSERT_TRUE(Accepted(good));
    for (std::size_t n = 0; n < good.size(); ++n) {
        const Bytes prefix(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_FALSE(Accepted(prefix)) << "the first " << n << " bytes were accepted";
    }
    // Random bytes behind a RIFF header, and random bytes in every chunk of a good file.
    std::uint32_t state = 99;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<std::uint8_t>(state >> 24);
    };
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        Bytes noise = {'R', 'I', 'F', 'F', 0, 1, 0, 0, 'W', 'A', 'V', 'E'};
        for (int i = 0; i < 300; ++i)
            noise.push_back(next());
        accepted += Accepted(noise);
        Bytes damaged = good;
        for (int i = 0; i < 4; ++i)
            damaged[12 + next() % 120] = next();
        accepted += Accepted(damaged);
    }
    EXPECT_LT(accepted, 600); // pure noise is never a readable file
}

} // namespace
} // namespace morvane::exchange
