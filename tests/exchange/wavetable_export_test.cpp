#include "exchange/wavetable_export.h"

#include <cmath>

#include <gtest/gtest.h>

#include "document/error.h"
#include "exchange/audio_import.h"
#include "exchange_test_support.h"

namespace morvane::exchange {
namespace {

using test::Bytes;

std::uint32_t U32(const Bytes &b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
           (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}
std::uint16_t U16(const Bytes &b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::string Text(const Bytes &b, std::size_t at, std::size_t n) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + n));
}
float FloatAt(const Bytes &b, std::size_t at) {
    const std::uint32_t bits = U32(b, at);
    float f = 0;
    std::memcpy(&f, &bits, 4);
    return f;
}

TEST(Export2048, WritesTheTaggedFloatFileByteForByte) {
    Wavetable table;
    FillNewWavetable(table, 0);
    const Bytes file = Wavetable2048Bytes(table);
    // 12 + fmt 26 + fact 12 + clm 44 + srge 16 + data 8 + 64 * 2048 * 4.
    ASSERT_EQ(file.size(), 524406u);
    EXPECT_EQ(Text(file, 0, 4), "RIFF");
    EXPECT_EQ(U32(file, 4), 524398u);
    EXPECT_EQ(Text(file, 8, 4), "WAVE");
    EXPECT_EQ(Text(file, 12, 4), "fmt ");
    EXPECT_EQ(U32(file, 16), 18u);
    EXPECT_EQ(U16(file, 20), 3u); // IEEE float
    EXPECT_EQ(U16(file, 22), 1u); // mono
    EXPECT_EQ(U32(file, 24), 44100u);
    EXPECT_EQ(U32(file, 28), 176400u); // bytes per second
    EXPECT_EQ(U16(file, 32), 4u);      // block align
    EXPECT_EQ(U16(file, 34), 32u);
    EXPECT_EQ(U16(file, 36), 0u); // no extension
    EXPECT_EQ(Text(file, 38, 4), "fact");
    EXPECT_EQ(U32(file, 42), 4u);
    EXPECT_EQ(U32(file, 46), 131072u);
    EXPECT_EQ(Text(file, 50, 4), "clm ");
    EXPECT_EQ(U32(file, 54), 36u);
    EXPECT_EQ(Text(file, 58, 36), "<!>2048 10000000 wavetable (Morvane)");
    EXPECT_EQ(Text(file, 94, 4), "srge");
    EXPECT_EQ(U32(file, 98), 8u);
    EXPECT_EQ(U32(file, 102), 1u);
    EXPECT_EQ(U32(file, 106), 2048u);
    EXPECT_EQ(Text(file, 110, 4), "data");
    EXPECT_EQ(U32(file, 114), 524288u);
    EXPECT_EQ(kExportDataOffset, 118u);

    // The new table's sines: every 16th sample of a frame is a sample of the wave, at
    // 1.0 = 1,048,575; sample 31 is 524,287.
    for (int w : {0, 63})
        for (int k = 0; k < kSampleCount; ++k) {
            const float got = FloatAt(file, 118 + 4 * (static_cast<std::size_t>(w) * 2048 +
                                                       16 * static_cast<std::size_t>(k)));
            ASSERT_NEAR(got, ReadSample(table, w, k) / 1048575.0, 1e-6)
                << "wave " << w << " sample " << k;
        }
    EXPECT_NEAR(FloatAt(file, 118 + 4 * 16 * 31), 524287.0 / 1048575.0, 1e-7);
}

TEST(Export2048, UpsamplesBandLimitedThroughTheOriginalSamples) {
    const Wavetable table = test::NoiseTable(5);
    for (int w : {0, 17, 63}) {
        SCOPED_TRACE(w);
        const std::array<float, kExportFrameLength> frame = UpsampleWave(table, w);
        for (int k = 0; k < kSampleCount; ++k)
            ASSERT_NEAR(frame[static_cast<std::size_t>(16 * k)],
                        ReadSample(table, w, k) / 1048575.0, 1e-6);
    }
    // A wave that is one harmonic comes out as that harmonic at 2048 points.
    Wavetable sine;
    FillNewWavetable(sine, 0);
    for (int k = 0; k < kSampleCount; ++k)
        WriteSample(sine, 3, k,
                    static_cast<std::int32_t>(
                        std::lround(900000.0 * std::cos(2 * std::numbers::pi * 5 * k / 128.0))));
    const std::array<float, kExportFrameLength> frame = UpsampleWave(sine, 3);
    for (std::size_t n = 0; n < frame.size(); ++n)
        ASSERT_NEAR(frame[n],
                    900000.0 / 1048575.0 *
                        std::cos(2 * std::numbers::pi * 5 * static_cast<double>(n) / 2048.0),
                    2e-6)
            << n;
}

TEST(Export2048, ReimportsEverySampleWithinTwoUnits) {
    test::TempFolder folder;
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const Wavetable table = test::NoiseTable(seed);
        const std::string path = folder.File("export" + std::to_string(seed) + ".wav");
        ExportWavetable2048(path, table);
        const AudioFile file = ReadAudioFile(path);
        EXPECT_EQ(file.Source, FrameSource::Clm);
        EXPECT_EQ(file.FormatText, "WAV, 32-bit float, mono, 44,100 Hz");
        ASSERT_EQ(FrameCount(file, ProposedFrameLength(file)), 64);
        // Normalised and at the file's level: the table's peak is full scale, so both agree.
        for (const bool normalise : {true, false}) {
            Wavetable back;
            FillNewWavetable(back, 0);
            ImportAudioFrames(file, ImportSettings{2048, normalise, 1, 64}, back);
            for (int w = 0; w < kWaveCount; ++w)
                for (int k = 0; k < kSampleCount; ++k)
                    ASSERT_NEAR(ReadSample(back, w, k), ReadSample(table, w, k), 2)
                        << "wave " << w + 1 << " sample " << k + 1;
        }
    }
}

TEST(Export2048, LibsndfileReadsTheExportAsMonoFloat) {
    test::TempFolder folder;
    const std::string path = folder.File("table.wav");
    const Wavetable table = test::NoiseTable(11);
    ExportWavetable2048(path, table);
    SF_INFO info{};
    SNDFILE *sound = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(sound, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.frames, 131072);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    std::vector<float> samples(131072);
    EXPECT_EQ(sf_readf_float(sound, samples.data(), 131072), 131072);
    sf_close(sound);
    EXPECT_NEAR(samples[17 * 2048 + 16 * 40], 1.0, 1e-6); // the full-scale sample of the table
}

TEST(Export2048, ReplacesAFileOnlyWhenComplete) {
    test::TempFolder folder;
    const std::string path = folder.File("old.wav");
    test::WriteAll(path, Bytes{'o', 'l', 'd'});
    Wavetable table;
    FillNewWavetable(table, 0);
    ExportWavetable2048(path, table);
    EXPECT_EQ(test::ReadAll(path), Wavetable2048Bytes(table));
    // A folder that does not exist: an error with the path, and nothing left behind.
    const std::string nowhere = folder.File("no/such/folder/t.wav");
    EXPECT_THROW(ExportWavetable2048(nowhere, table), Error);
    std::size_t files = 0;
    for (const auto &entry : test::fs::directory_iterator(folder.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

} // namespace
} // namespace morvane::exchange
