#include "document/wave_message.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace morvane {
namespace {

std::string NameOf(const Wavetable &t, int w) {
    return std::string(reinterpret_cast<const char *>(t.Message(w) + kOffsetName), kNameLength);
}

Wavetable NewTable(std::uint8_t device = 0) {
    Wavetable t;
    FillNewWavetable(t, device);
    return t;
}

TEST(NewWavetable, HeadersOfEveryMessage) {
    const Wavetable t = NewTable(5);
    for (int w = 0; w < kWaveCount; ++w) {
        SCOPED_TRACE(w);
        const std::uint8_t *m = t.Message(w);
        EXPECT_EQ(m[0], 0xF0);
        EXPECT_EQ(m[1], 0x3E);
        EXPECT_EQ(m[2], 0x13);
        EXPECT_EQ(m[3], 5);
        EXPECT_EQ(m[4], 0x12);
        EXPECT_EQ(m[5], 0); // no slot until a slot change, a save or an export
        EXPECT_EQ(m[6], w);
        EXPECT_EQ(m[7], 0);
        EXPECT_EQ(NameOf(t, w), "untitled      ");
        EXPECT_EQ(m[406], 0);
        EXPECT_EQ(m[407], 0);
        EXPECT_EQ(m[408], 0x7F);
        EXPECT_EQ(m[409], 0xF7);
    }
}

TEST(NewWavetable, SamplesAreAHalfScaleSineStartingOneStepIn) {
    const Wavetable t = NewTable();
    for (int w = 0; w < kWaveCount; ++w) {
        SCOPED_TRACE(w);
        EXPECT_EQ(ReadSample(t, w, 0), 25725);
        EXPECT_EQ(ReadSample(t, w, 31), 524287);
        EXPECT_EQ(ReadSample(t, w, 63), 0);
        EXPECT_EQ(ReadSample(t, w, 64), -25726);
        EXPECT_EQ(ReadSample(t, w, 95), -524288);
        EXPECT_EQ(ReadSample(t, w, 127), 0);
        // Both rounding residues are stored as 00 00 00.
        EXPECT_EQ(ReadSampleBytes(t, w, 63), (SampleTriple{0, 0, 0}));
        EXPECT_EQ(ReadSampleBytes(t, w, 127), (SampleTriple{0, 0, 0}));
    }
}

TEST(NewWavetable, EverySampleMatchesAnIndependentSine) {
    const Wavetable t = NewTable();
    for (int i = 1; i <= kSampleCount; ++i) {
        const long double s =
            std::sin(2.0L * 3.14159265358979323846264338327950288L * i / 128) / 2 * 1048575.0L;
        std::int32_t expected = static_cast<std::int32_t>(std::floor(s));
        if (expected == -1)
            expected = 0;
        EXPECT_EQ(ReadSample(t, 7, i - 1), expected) << "sample " << i;
    }
}

TEST(NewWavetable, WaveListTexts) {
    EXPECT_EQ(NewWaveListText(1), "01. Wave");
    EXPECT_EQ(NewWaveListText(9), "09. Wave");
    EXPECT_EQ(NewWaveListText(10), "10. Wave");
    EXPECT_EQ(NewWaveListText(64), "64. Wave");
    EXPECT_EQ(LoadedWaveListText(3), "3 wavetable");
}

TEST(Samples, ReadAndWriteGoThroughTheThreeBytesOfTheMessage) {
    Wavetable t = NewTable();
    WriteSample(t, 2, 5, -2);
    const std::uint8_t *p = t.Bytes.data() + 410 * 2 + 8 + 3 * 5;
    EXPECT_EQ(p[0], 0x7F);
    EXPECT_EQ(p[1], 0x00);
    EXPECT_EQ(p[2], 0x02);
    EXPECT_EQ(ReadSample(t, 2, 5), -2);
    WriteSample(t, 63, 127, 1048575);
    EXPECT_EQ(t.Bytes[kTableSize - 2 - 14 - 2 - 3], 0x3F); // last sample ends at offset 391
}

TEST(Names, TypedNameIsTrimmedPaddedAndSpreadToAllMessages) {
    Wavetable t = NewTable();
    EXPECT_TRUE(WriteNameToAll(t, TrimmedPaddedName(" Pad")));
    for (int w = 0; w < kWaveCount; ++w)
        EXPECT_EQ(NameOf(t, w), "Pad           ");
    // The same name again changes no byte, so the modified flag stays as it was.
    EXPECT_FALSE(WriteNameToAll(t, TrimmedPaddedName("Pad  ")));
}

TEST(Names, ClearingTheFieldWritesFourteenSpaces) {
    Wavetable t = NewTable();
    EXPECT_TRUE(WriteNameToAll(t, TrimmedPaddedName("")));
    EXPECT_EQ(NameOf(t, 40), std::string(14, ' '));
    EXPECT_EQ(TrimmedNameOfFirstWave(t), "");
}

TEST(Names, OnlyTheFirstFourteenCharactersAreUsed) {
    EXPECT_EQ(std::string(TrimmedPaddedName("ABCDEFGHIJKLMNOPQ").data(), 14), "ABCDEFGHIJKLMN");
    EXPECT_EQ(std::string(PaddedName(" lead").data(), 14), " lead         ");
}

TEST(Names, ControlCharactersAreTrimmedAtTheEnds) {
    EXPECT_EQ(std::string(TrimmedPaddedName("\t\x01"
                                            "Bass\r\n")
                              .data(),
                          14),
              "Bass          ");
}

TEST(Names, CharactersThatWouldBreakTheMessageBecomeQuestionMarks) {
    const std::string typed =
        std::string("a") + char(0xF0) + "b" + char(0xF7) + char(0x7F) + char(0xE9);
    const NameBytes n = TrimmedPaddedName(typed);
    EXPECT_EQ(std::string(n.data(), 14), "a?b???        ");
    for (char c : n)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(Names, RedrawShowsTheNameWithoutSurroundingBlanks) {
    Wavetable t = NewTable();
    const NameBytes spaced = PaddedName("  soft pad  ");
    WriteNameToAll(t, spaced);
    EXPECT_EQ(TrimmedNameOfFirstWave(t), "soft pad");
    EXPECT_EQ(TrimmedNameOfFirstWave(NewTable()), "untitled");
}

TEST(Headers, DeviceAndSlotGoToAllMessages) {
    Wavetable t = NewTable();
    WriteDeviceAndSlot(t, 5, 95);
    for (int w = 0; w < kWaveCount; ++w) {
        EXPECT_EQ(t.Message(w)[3], 0x05);
        EXPECT_EQ(t.Message(w)[5], 0x5F);
    }
}

TEST(Headers, StampHeadersWritesSlotNumberAndUntrimmedNameIntoTheRangeOnly) {
    Wavetable t = NewTable();
    // Scramble the wave-number bytes as a load of another file would leave them.
    for (int w = 0; w < kWaveCount; ++w)
        t.Message(w)[6] = 0x33;
    StampHeaders(t, 5, 10, " Pad", 81);
    for (int n = 1; n <= kWaveCount; ++n) {
        SCOPED_TRACE(n);
        const std::uint8_t *m = t.Message(n - 1);
        if (n >= 5 && n <= 10) {
            EXPECT_EQ(m[5], 81);
            EXPECT_EQ(m[6], n - 1);
            EXPECT_EQ(NameOf(t, n - 1), " Pad          ");
        } else {
            EXPECT_EQ(m[5], 0);
            EXPECT_EQ(m[6], 0x33);
            EXPECT_EQ(NameOf(t, n - 1), "untitled      ");
        }
        EXPECT_EQ(m[3], 0); // the device byte is never stamped
    }
}

TEST(Headers, StampHeadersWithLastBeforeFirstWritesNothing) {
    Wavetable t = NewTable();
    const Wavetable before = t;
    StampHeaders(t, 10, 9, "x", 90);
    EXPECT_EQ(t, before);
}

TEST(Headers, FillChecksumsRestoresSevenFInEveryMessage) {
    Wavetable t = NewTable();
    for (int w = 0; w < kWaveCount; ++w)
        t.Message(w)[408] = static_cast<std::uint8_t>(w);
    FillChecksums(t);
    for (int w = 0; w < kWaveCount; ++w)
        EXPECT_EQ(t.Message(w)[408], 0x7F);
}

} // namespace
} // namespace morvane
