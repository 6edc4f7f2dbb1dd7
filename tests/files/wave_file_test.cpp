#include "files/wave_file.h"

#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

#include "document/error.h"
#include "file_test_support.h"

namespace morvane::files {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;
using morvane::testing::WriteAll;

const std::string kSentence = " (Sample rate: 44.1Khz, Bit depth: 32Bit, Channels: Mono and PCM "
                              "(No Compression) wave files accepted)";

Wavetable NewTable() {
    Wavetable t;
    FillNewWavetable(t, 0);
    return t;
}

// The canonical 44-byte header, written out field by field.
std::vector<std::uint8_t> Header(std::uint16_t format, std::uint16_t channels, std::uint32_t rate,
                                 std::uint16_t bits) {
    std::vector<std::uint8_t> h;
    h.reserve(44);
    auto put = [&h](std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            h.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto tag = [&h](const char *s) {
        for (int i = 0; i < 4; ++i)
            h.push_back(static_cast<std::uint8_t>(s[i]));
    };
    tag("RIFF");
    put(32804, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(format, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * bits / 8, 4);
    put(channels * bits / 8u, 2);
    put(bits, 2);
    tag("data");
    put(32768, 4);
    return h;
}

// A 32-bit sign-and-magnitude sample, little-endian, byte 3 holding the sign.
void PutSample(std::vector<std::uint8_t> &to, std::int64_t v) {
    const std::uint64_t m = static_cast<std::uint64_t>(v < 0 ? -v : v);
    to.push_back(static_cast<std::uint8_t>(m & 0xFF));
    to.push_back(static_cast<std::uint8_t>((m >> 8) & 0xFF));
    to.push_back(static_cast<std::uint8_t>((m >> 16) & 0xFF));
    to.push_back(static_cast<std::uint8_t>(((m >> 24) & 0x7F) | (v < 0 ? 0x80 : 0)));
}

std::vector<std::string> Lines(const std::vector<std::uint8_t> &text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            lines.push_back(line);
            line.clear();
            ++i;
        } else {
            line += static_cast<char>(text[i]);
        }
    }
    EXPECT_TRUE(line.empty()) << "the last line has no CR LF";
    return lines;
}

TEST(WaveExport, NewTableGivesTheExpectedFileAndDump) {
    TempFolder folder;
    WaveBuffers buffers;
    PrepareWaveExport(NewTable(), buffers);
    const std::string path = folder.File("pad.wav");
    WriteWaveFile(path, buffers);

    const std::vector<std::uint8_t> f = ReadAll(path);
    ASSERT_EQ(f.size(), 32812u);
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin(), f.begin() + 44), Header(1, 1, 44100, 32));
    // Sample 0 = 25,725 = 0x647D; sample 64 = -25,726 = -0x647E.
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 44, f.begin() + 48),
              (std::vector<std::uint8_t>{0x7D, 0x64, 0x00, 0x00}));
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 44 + 4 * 64, f.begin() + 48 + 4 * 64),
              (std::vector<std::uint8_t>{0x7E, 0x64, 0x00, 0x80}));
    // Every sample of the file against the table, through this test's own encoding.
    const Wavetable table = NewTable();
    std::vector<std::uint8_t> expectedData;
    for (int w = 0; w < 64; ++w)
        for (int k = 0; k < 128; ++k)
            PutSample(expectedData, ReadSample(table, w, k));
    EXPECT_TRUE(std::equal(expectedData.begin(), expectedData.end(), f.begin() + 44));

    ASSERT_EQ(folder.Names(), (std::vector<std::string>{"pad.wav", "pad.wav.txt"}));
    const std::vector<std::string> lines = Lines(ReadAll(path + ".txt"));
    ASSERT_EQ(lines.size(), 8192u);
    EXPECT_EQ(lines[0], "131");
    EXPECT_EQ(lines[64], "125");
    for (int s = 0; s < 8192; ++s) {
        const std::int32_t v = ReadSample(table, s / 128, s % 128);
        // trunc(v / 8192) + 128, computed in floating point here.
        const auto expected = static_cast<long long>(std::trunc(v / 8192.0)) + 128;
        ASSERT_EQ(lines[static_cast<std::size_t>(s)], std::to_string(expected)) << "sample " << s;
    }
}

TEST(WaveExport, DumpNumbersAtTheirBoundaries) {
    EXPECT_EQ(WaveTextNumber(-1048575), 1);
    EXPECT_EQ(WaveTextNumber(-8192), 127);
    EXPECT_EQ(WaveTextNumber(-8191), 128);
    EXPECT_EQ(WaveTextNumber(0), 128);
    EXPECT_EQ(WaveTextNumber(8191), 128);
    EXPECT_EQ(WaveTextNumber(8192), 129);
    EXPECT_EQ(WaveTextNumber(1048575), 255);
}

TEST(WaveExport, SampleFormatIsSignAndMagnitude) {
    EXPECT_EQ(EncodeWaveSample(0), (WaveSample{0, 0, 0, 0}));
    EXPECT_EQ(EncodeWaveSample(1048575), (WaveSample{0xFF, 0xFF, 0x0F, 0x00}));
    EXPECT_EQ(EncodeWaveSample(-1048575), (WaveSample{0xFF, 0xFF, 0x0F, 0x80}));
    EXPECT_EQ(EncodeWaveSample(-1), (WaveSample{0x01, 0x00, 0x00, 0x80}));
    EXPECT_EQ(EncodeWaveSample(-0x12345678), (WaveSample{0x78, 0x56, 0x34, 0x92}));
    // Byte 3 counts 2^23 per step when read back.
    EXPECT_EQ(WaveSampleMagnitude(WaveSample{0, 0, 0, 0x02}), 16777216);
    EXPECT_EQ(WaveSampleValue(WaveSample{0x10, 0, 0, 0x81}), -(8388608 + 16));
}

TEST(WaveExport, ExportClearsTheSignsInTheBuffersButNotInTheFile) {
    TempFolder folder;
    WaveBuffers buffers;
    PrepareWaveExport(NewTable(), buffers);
    EXPECT_EQ(buffers.WaveSamples[64][3], 0x80);
    WriteWaveFile(folder.File("x.wav"), buffers);
    EXPECT_EQ(buffers.WaveSamples[64][3], 0x00);
    EXPECT_EQ(ReadAll(folder.File("x.wav"))[44 + 4 * 64 + 3], 0x80);
}

TEST(WaveExport, FailedExportLeavesBothPreviousFiles) {
    TempFolder folder;
    const std::string path = folder.File("keep.wav");
    WriteAll(path, std::vector<std::uint8_t>(100, 1));
    WriteAll(path + ".txt", std::vector<std::uint8_t>(50, 2));
    WaveBuffers buffers;
    PrepareWaveExport(NewTable(), buffers);
    {
        morvane::testing::FileSizeLimit limit(20000);
        EXPECT_THROW(WriteWaveFile(path, buffers), Error);
    }
    EXPECT_EQ(ReadAll(path), std::vector<std::uint8_t>(100, 1));
    EXPECT_EQ(ReadAll(path + ".txt"), std::vector<std::uint8_t>(50, 2));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"keep.wav", "keep.wav.txt"}));
}

TEST(WaveImport, ExportedNewTableComesBackScaledToFullScale) {
    TempFolder folder;
    WaveBuffers buffers;
    PrepareWaveExport(NewTable(), buffers);
    const std::string path = folder.File("pad.wav");
    WriteWaveFile(path, buffers);

    WaveBuffers read;
    ReadWaveFile(path, read);
    Wavetable table = NewTable();
    ImportWaveSamples(read, table, 1, 64);
    for (int w = 0; w < 64; ++w) {
        SCOPED_TRACE("wave " + std::to_string(w + 1));
        // Peak 524,288.
        EXPECT_EQ(ReadSample(table, w, 95), -1048575); // from -524,288
        EXPECT_EQ(ReadSample(table, w, 31), 1048573);  // from 524,287
        EXPECT_EQ(ReadSample(table, w, 0), 51449);     // from 25,725
        EXPECT_EQ(ReadSample(table, w, 64), -51452);   // from -25,726
        EXPECT_EQ(ReadSample(table, w, 63), 0);
    }
    // Headers and names stay.
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(table.Message(5) + 392), 14),
              "untitled      ");
}

TEST(WaveImport, RangeTakesItsSamplesByPositionAndItsOwnPeak) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes = Header(1, 1, 44100, 32);
    for (int s = 0; s < 8192; ++s) {
        // Loud outside waves 10..12, quieter inside, peak 300,000 at file sample 1,300.
        std::int64_t v = 900000;
        if (s >= 1152 && s < 1536)
            v = s == 1300 ? 300000 : (s % 7 - 3) * 1000;
        PutSample(bytes, s % 2 == 0 ? v : -v);
    }
    const std::string path = folder.File("range.wav");
    WriteAll(path, bytes);
    WaveBuffers read;
    ReadWaveFile(path, read);
    const Wavetable before = NewTable();
    Wavetable table = before;
    ImportWaveSamples(read, table, 10, 12);
    for (int w = 0; w < 64; ++w) {
        SCOPED_TRACE("wave " + std::to_string(w + 1));
        if (w < 9 || w > 11) {
            EXPECT_TRUE(std::equal(table.Message(w), table.Message(w) + 410, before.Message(w)));
            continue;
        }
        for (int k = 0; k < 128; ++k) {
            const int s = w * 128 + k;
            std::int64_t v = s == 1300 ? 300000 : (s % 7 - 3) * 1000;
            if (s % 2 != 0)
                v = -v;
            const long double g = std::floor(static_cast<long double>(v) / 300000.0L * 2097150.0L);
            ASSERT_EQ(ReadSample(table, w, k), static_cast<std::int32_t>(g) / 2) << "sample " << k;
        }
    }
    EXPECT_EQ(ReadSample(table, 1300 / 128, 1300 % 128), 1048575);
}

TEST(WaveImport, EmptyRangeChangesNothing) {
    WaveBuffers buffers;
    const Wavetable before = NewTable();
    Wavetable table = before;
    ImportWaveSamples(buffers, table, 12, 10);
    EXPECT_EQ(table, before);
}

TEST(WaveImport, AllZeroRangeIsADivisionByZeroAndChangesNothing) {
    WaveBuffers buffers;
    buffers.WaveSamples[0] = {0x10, 0, 0, 0}; // wave 1 is not silent
    const Wavetable before = NewTable();
    Wavetable table = before;
    try {
        ImportWaveSamples(buffers, table, 2, 64);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), "Division by zero");
    }
    EXPECT_EQ(table, before);
    // A negative zero (only the sign bit) is zero too.
    buffers.WaveSamples[200] = {0, 0, 0, 0x80};
    EXPECT_THROW(ImportWaveSamples(buffers, table, 2, 2), Error);
    EXPECT_EQ(table, before);
}

struct Refusal {
    std::uint16_t Format, Channels;
    std::uint32_t Rate;
    std::uint16_t Bits;
    const char *Text;
};

class WaveRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(WaveRefusals, OnlyTheLastFailingTestIsNamed) {
    const Refusal r = GetParam();
    std::vector<std::uint8_t> bytes = Header(r.Format, r.Channels, r.Rate, r.Bits);
    bytes.resize(bytes.size() + 400, 0x11);
    WaveBuffers buffers;
    buffers.WaveSamples[0] = {1, 2, 3, 4};
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    try {
        ReadWaveFromStream(in, buffers);
        ADD_FAILURE() << "accepted";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), std::string(r.Text) + kSentence);
    }
    EXPECT_EQ(buffers.WaveSamples[0], (WaveSample{1, 2, 3, 4})); // samples not read
}

INSTANTIATE_TEST_SUITE_P(Header, WaveRefusals,
                         ::testing::Values(Refusal{3, 1, 44100, 32, "No PCM format."},
                                           Refusal{1, 2, 44100, 32, "No mono wave."},
                                           Refusal{1, 1, 48000, 32, "No 44100Hz."},
                                           Refusal{1, 1, 44100, 24, "No 32Bit."},
                                           Refusal{1, 2, 44100, 16, "No 32Bit."}, // 16-bit stereo
                                           Refusal{3, 2, 44100, 32, "No mono wave."},
                                           Refusal{3, 2, 22050, 32, "No 44100Hz."}));

TEST(WaveImport, FileShorterThanItsHeaderIsRefused) {
    WaveBuffers buffers;
    // A previous import left an accepted header behind.
    const std::vector<std::uint8_t> good = Header(1, 1, 44100, 32);
    std::copy(good.begin(), good.end(), buffers.WaveHeader.begin());
    buffers.WaveSamples[3] = {9, 9, 9, 0};
    for (const std::size_t size : {0u, 1u, 20u, 43u}) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::string bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        std::istringstream in(bytes);
        try {
            ReadWaveFromStream(in, buffers);
            ADD_FAILURE() << "accepted";
        } catch (const Error &e) {
            EXPECT_EQ(std::string(e.what()), "No WAV header." + kSentence);
        }
        EXPECT_EQ(buffers.WaveSamples[3], (WaveSample{9, 9, 9, 0}));
    }
}

TEST(WaveImport, FileShorterThanItsDataChunkIsRefusedAndKeepsTheSamples) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes = Header(1, 1, 44100, 32); // data: 32,768 bytes
    for (int s = 0; s < 1000; ++s)
        PutSample(bytes, s + 1);
    const std::string path = folder.File("cut.wav");
    WaveBuffers buffers;
    buffers.WaveSamples[0] = {1, 1, 1, 1};
    for (const std::size_t size : {std::size_t{44}, std::size_t{4044}}) {
        WriteAll(path, std::vector<std::uint8_t>(
                           bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
        try {
            ReadWaveFile(path, buffers);
            ADD_FAILURE() << "accepted";
        } catch (const Error &e) {
            EXPECT_EQ(std::string(e.what()), "The file is shorter than its header says: it holds " +
                                                 std::to_string(size - 44) +
                                                 " of 32768 bytes of samples.");
        }
        EXPECT_EQ(buffers.WaveSamples[0], (WaveSample{1, 1, 1, 1}));
    }
}

TEST(WaveImport, ShortDataChunkFillsTheMissingSamplesWithZero) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes = Header(1, 1, 44100, 32);
    bytes[40] = 0xA2; // the data chunk holds 4,002 bytes: 1,000 samples and a cut one
    bytes[41] = 0x0F;
    bytes[42] = 0;
    bytes[43] = 0;
    for (int s = 0; s < 1000; ++s)
        PutSample(bytes, s + 1);
    bytes.push_back(0x55); // a last sample cut short
    bytes.push_back(0x55);
    const std::string path = folder.File("short.wav");
    WriteAll(path, bytes);
    WaveBuffers buffers;
    for (WaveSample &s : buffers.WaveSamples)
        s = {0x77, 0x77, 0x07, 0x00}; // leftovers of an earlier file
    ReadWaveFile(path, buffers);
    for (int s = 0; s < 8192; ++s) {
        const std::int64_t expected = s < 1000 ? s + 1 : 0;
        ASSERT_EQ(WaveSampleValue(buffers.WaveSamples[static_cast<std::size_t>(s)]), expected)
            << "sample " << s;
    }
    // Importing the range past the file's end gives silence there.
    Wavetable table = NewTable();
    ImportWaveSamples(buffers, table, 1, 64);
    EXPECT_EQ(ReadSample(table, 7, 103), 1048575); // file sample 999 holds the peak 1,000
    EXPECT_EQ(ReadSample(table, 8, 0), 0);
    EXPECT_EQ(ReadSample(table, 63, 127), 0);
}

TEST(WaveImport, TagsAndSizesAreNotChecked) {
    std::vector<std::uint8_t> bytes = Header(1, 1, 44100, 32);
    std::fill(bytes.begin(), bytes.begin() + 20, 'x');    // no RIFF, WAVE, fmt
    std::fill(bytes.begin() + 28, bytes.begin() + 34, 0); // no byte rate, no block align
    std::fill(bytes.begin() + 36, bytes.end(), 'y');      // no data tag, no size
    PutSample(bytes, -77);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    WaveBuffers buffers;
    ReadWaveFromStream(in, buffers);
    EXPECT_EQ(WaveSampleValue(buffers.WaveSamples[0]), -77);
}

TEST(WaveImport, MissingFileThrows) {
    TempFolder folder;
    WaveBuffers buffers;
    EXPECT_THROW(ReadWaveFile(folder.File("absent.wav"), buffers), Error);
}

TEST(WaveBuffers, OneInstanceForTheProgram) {
    WaveBuffers &a = WaveBuffersInstance();
    WaveBuffers &b = WaveBuffersInstance();
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(sizeof(a.WaveHeader), 44u);
    EXPECT_EQ(sizeof(a.WaveSamples), 8192u * 4u);
}

} // namespace
} // namespace morvane::files
