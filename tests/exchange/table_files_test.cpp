#include "exchange/table_files.h"

#include <gtest/gtest.h>

#include "document/error.h"
#include "exchange_test_support.h"

namespace morvane::exchange {
namespace {

using test::TempFolder;

void ExpectSameSamples(const Wavetable &a, const Wavetable &b, int tolerance) {
    for (int w = 0; w < kWaveCount; ++w)
        for (int k = 0; k < kSampleCount; ++k)
            ASSERT_NEAR(ReadSample(a, w, k), ReadSample(b, w, k), tolerance)
                << "wave " << w + 1 << " sample " << k + 1;
}

std::string NameOf(const Wavetable &table, int w) {
    const std::uint8_t *name = table.Message(w) + kOffsetName;
    return std::string(name, name + kNameLength);
}

TEST(TableFiles, TellsTheFormatFromAWordOrAName) {
    EXPECT_EQ(ParseTableFormat("syx"), TableFormat::Syx);
    EXPECT_EQ(ParseTableFormat("MID"), TableFormat::Midi);
    EXPECT_EQ(ParseTableFormat("wav"), TableFormat::MorvaneWav);
    EXPECT_EQ(ParseTableFormat("wav2048"), TableFormat::Wav2048);
    EXPECT_FALSE(ParseTableFormat("aiff"));
    EXPECT_EQ(TableFormatFromName("/a/b/pad.SYX"), TableFormat::Syx);
    EXPECT_EQ(TableFormatFromName("pad.midi"), TableFormat::Midi);
    EXPECT_EQ(TableFormatFromName("pad.mid"), TableFormat::Midi);
    EXPECT_EQ(TableFormatFromName("pad.wav"), TableFormat::MorvaneWav);
    EXPECT_EQ(TableFormatFromName("pad-2048.wav"), TableFormat::Wav2048);
    EXPECT_EQ(TableFormatFromName("pad.2048.WAV"), TableFormat::Wav2048);
    EXPECT_EQ(TableFormatFromName("2048/pad.wav"), TableFormat::MorvaneWav);
    EXPECT_FALSE(TableFormatFromName("pad.flac"));
    EXPECT_FALSE(TableFormatFromName("pad"));
}

TEST(TableFiles, ConvertsBetweenEveryFormatAndBack) {
    TempFolder folder;
    Wavetable table = test::NoiseTable(21);
    WriteNameToAll(table, TrimmedPaddedName("Noise"));
    WriteDeviceAndSlot(table, 3, 95);

    SaveTableFile(folder.File("t.syx"), TableFormat::Syx, table);
    const Wavetable fromSyx = LoadTableFile(folder.File("t.syx"));
    EXPECT_EQ(fromSyx, table); // every byte: slot 95 and the name were kept, numbers stamped

    SaveTableFile(folder.File("t.mid"), TableFormat::Midi, table, 100);
    const Wavetable fromMid = LoadTableFile(folder.File("t.mid"));
    ExpectSameSamples(fromMid, table, 0);
    EXPECT_EQ(fromMid.Message(0)[kOffsetSlot], 100);
    EXPECT_EQ(NameOf(fromMid, 63), "Noise         ");

    // The own WAV holds values as they are: back exactly, named after the file.
    SaveTableFile(folder.File("own.wav"), TableFormat::MorvaneWav, table);
    EXPECT_TRUE(test::fs::exists(folder.File("own.wav.txt")));
    const Wavetable fromWav = LoadTableFile(folder.File("own.wav"));
    ExpectSameSamples(fromWav, table, 0);
    EXPECT_EQ(NameOf(fromWav, 0), "own           ");

    SaveTableFile(folder.File("t-2048.wav"), TableFormat::Wav2048, table);
    const Wavetable from2048 = LoadTableFile(folder.File("t-2048.wav"));
    ExpectSameSamples(from2048, table, 2);
    EXPECT_EQ(NameOf(from2048, 5), "t-2048        ");

    EXPECT_THROW(SaveTableFile(folder.File("x.syx"), TableFormat::Syx, table, 79), Error);
}

TEST(TableFiles, ReadsAnyAudioFileThroughTheImport) {
    TempFolder folder;
    // 8,192 samples of 32-bit two's complement PCM: as long as an own WAV, but not one; read
    // as audio, its four frames of 2048 spread over the 64 waves.
    const std::string path = folder.File("pcm32.wav");
    ASSERT_TRUE(
        test::WriteSndfile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_32, 1, test::CurveFrames(4, 2048)));
    ASSERT_EQ(test::fs::file_size(path), 32812u);
    LoadOptions keep;
    keep.Normalise = false;
    const Wavetable table = LoadTableFile(path, keep);
    for (int k = 0; k < kSampleCount; ++k) {
        ASSERT_NEAR(ReadSample(table, 0, k), test::ExpectedSample(0, k), 1);
        ASSERT_NEAR(ReadSample(table, 21, k), test::ExpectedSample(1, k), 1);
        ASSERT_NEAR(ReadSample(table, 63, k), test::ExpectedSample(3, k), 1);
    }
    // An explicit frame length: 512 gives 16 frames.
    keep.FrameLength = 512;
    const Wavetable short512 = LoadTableFile(path, keep);
    EXPECT_NE(short512, table);
}

TEST(TableFiles, RefusesFilesThatHoldNoTable) {
    TempFolder folder;
    test::WriteAll(folder.File("empty.syx"), {});
    try {
        LoadTableFile(folder.File("empty.syx"));
        FAIL();
    } catch (const Error &e) {
        EXPECT_STREQ(e.what(), "The file holds no whole wave message.");
    }
    const Wavetable table = test::NoiseTable(4);
    SaveTableFile(folder.File("t.mid"), TableFormat::Midi, table);
    LoadOptions options;
    options.MidiName = "nothing";
    try {
        LoadTableFile(folder.File("t.mid"), options);
        FAIL();
    } catch (const Error &e) {
        EXPECT_STREQ(
            e.what(),
            "\"t.mid\" holds no wavetable named \"nothing\"; it holds \"untitled      \".");
    }
    test::WriteAll(folder.File("x.bin"), {1, 2, 3});
    EXPECT_THROW(LoadTableFile(folder.File("x.bin")), Error);
}

TEST(TableFiles, DescribesWhatAFileHolds) {
    TempFolder folder;
    Wavetable table = test::NoiseTable(8);
    WriteNameToAll(table, TrimmedPaddedName("Bells"));
    SaveTableFile(folder.File("b.syx"), TableFormat::Syx, table, 81);
    EXPECT_EQ(DescribeTableFile(folder.File("b.syx")),
              (std::vector<std::string>{"file: \"b.syx\"", "kind: System Exclusive", "messages: 64",
                                        "names: \"Bells\"", "slot: 81", "device: 0"}));
    SaveTableFile(folder.File("b.mid"), TableFormat::Midi, table, 82);
    EXPECT_EQ(
        DescribeTableFile(folder.File("b.mid")),
        (std::vector<std::string>{"file: \"b.mid\"", "kind: Standard MIDI File", "wavetables: 1",
                                  "wavetable: \"Bells\", 64 messages, slot 82"}));
    SaveTableFile(folder.File("b.wav"), TableFormat::MorvaneWav, table);
    EXPECT_EQ(DescribeTableFile(folder.File("b.wav")),
              (std::vector<std::string>{"file: \"b.wav\"", "kind: Morvane WAV",
                                        "samples: 8,192, 64 waves of 128"}));
    SaveTableFile(folder.File("b-2048.wav"), TableFormat::Wav2048, table);
    EXPECT_EQ(DescribeTableFile(folder.File("b-2048.wav")),
              (std::vector<std::string>{
                  "file: \"b-2048.wav\"", "kind: audio file",
                  "format: WAV, 32-bit float, mono, 44,100 Hz", "samples: 131,072",
                  "frame tag: 'clm ' chunk, 2,048 samples per frame",
                  "proposed frame length: 2,048", "frames: 64 frames of 2,048 samples"}));
    test::WriteAll(folder.File("one.wav"), test::MakeWav(test::CurveFrames(1, 600), {}));
    EXPECT_EQ(DescribeTableFile(folder.File("one.wav"))[5],
              "proposed frame length: the whole file");
}

} // namespace
} // namespace morvane::exchange
