#include "audio/wave_out.h"

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace morvane::audio {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(WaveFormat, FromTheSettings) {
    const PcmWaveFormat stereo = MakeWaveFormat(AudioSettings{});
    EXPECT_EQ(stereo.FormatTag, 1);
    EXPECT_EQ(stereo.Channels, 2);
    EXPECT_EQ(stereo.SamplesPerSec, 44100u);
    EXPECT_EQ(stereo.AvgBytesPerSec, 176400u); // 44,100 x 4
    EXPECT_EQ(stereo.BlockAlign, 4);
    EXPECT_EQ(stereo.BitsPerSample, 16);
    EXPECT_EQ(stereo.CbSize, 0);
    EXPECT_TRUE(CheckWaveFormat(stereo).empty());

    const PcmWaveFormat mono = MakeWaveFormat(AudioSettings{0, 1, 11025, 2, 16});
    EXPECT_EQ(mono.AvgBytesPerSec, 22050u);
    EXPECT_TRUE(CheckWaveFormat(mono).empty());
}

TEST(WaveFormat, InconsistentHandEditedFormatsAreRejected) {
    // Stereo with the block align of mono, 8 bits, three channels, rate 0, a negative rate.
    for (const AudioSettings &settings :
         {AudioSettings{0, 2, 44100, 2, 16}, AudioSettings{0, 1, 44100, 1, 8},
          AudioSettings{0, 3, 44100, 6, 16}, AudioSettings{0, 2, 0, 4, 16},
          AudioSettings{0, 2, -44100, 4, 16}}) {
        SCOPED_TRACE(std::to_string(settings.WaveChannels) + " channels " +
                     std::to_string(settings.WaveSamplesPerSec) + " Hz");
        EXPECT_FALSE(CheckWaveFormat(MakeWaveFormat(settings)).empty());
    }
    EXPECT_EQ(CheckWaveFormat(MakeWaveFormat(AudioSettings{0, 2, 44100, 2, 16})),
              "Unsupported wave format (2 channels, 44100 Hz, 16 bits, block align 2)");
}

TEST(WaveFormat, FormatBitsOfTheTable) {
    EXPECT_EQ(FormatBit(0, 1), 0x4u);
    EXPECT_EQ(FormatBit(0, 2), 0x8u);
    EXPECT_EQ(FormatBit(1, 1), 0x40u);
    EXPECT_EQ(FormatBit(1, 2), 0x80u);
    EXPECT_EQ(FormatBit(2, 1), 0x400u);
    EXPECT_EQ(FormatBit(2, 2), 0x800u);
    EXPECT_EQ(FormatBit(3, 1), 0x4000u);
    EXPECT_EQ(FormatBit(3, 2), 0x8000u);
    EXPECT_EQ(FormatBit(4, 1), 0x40000u);
    EXPECT_EQ(FormatBit(4, 2), 0x80000u);
    EXPECT_EQ(kAllWaveFormats16, 0xCCCCCu);
}

TEST(WaveOutCaps, ProductNamesAreCutTo31BytesOnACharacterBoundary) {
    EXPECT_EQ(TruncateProductName("HDA Intel PCH: ALC892 Analog (hw:0,0)"),
              "HDA Intel PCH: ALC892 Analog (h");
    EXPECT_EQ(TruncateProductName(std::string(31, 'x')), std::string(31, 'x'));
    EXPECT_EQ(TruncateProductName(std::string(32, 'x')), std::string(31, 'x'));
    // 30 ASCII bytes and a two-byte character: the character would be split at byte 31.
    const std::string name = std::string(30, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(TruncateProductName(name), std::string(30, 'a'));
    EXPECT_EQ(TruncateProductName(""), "");
}

// The null device on a clock the test moves by hand.
struct ManualClock {
    Clock::time_point Now = Clock::time_point{} + 1h;
    NullWaveOut::ClockFunction Function() {
        return [this] { return Now; };
    }
};

TEST(NullWaveOut, HoldsEachBufferForItsLengthInRealTime) {
    ManualClock clock;
    NullWaveOut device({{"Silent", kAllWaveFormats16}}, clock.Function());
    auto opened = device.Open(0, MakeWaveFormat(AudioSettings{})); // 176,400 bytes per second
    ASSERT_TRUE(opened.Stream) << opened.Error;
    WaveOutStream &stream = *opened.Stream;
    AudioBuffer memory{};
    const WaveHeader header{memory.data(), kWaveBufferBytes};

    // 8192 bytes last 8192 / 176400 s = 46.44 ms; a second buffer plays after the first.
    EXPECT_FALSE(stream.IsHeld(2));
    EXPECT_TRUE(stream.Write(2, header));
    EXPECT_TRUE(stream.Write(3, header));
    EXPECT_FALSE(stream.Write(2, header)); // still held
    clock.Now += 46ms;
    EXPECT_TRUE(stream.IsHeld(2));
    EXPECT_TRUE(stream.IsHeld(3));
    clock.Now += 1ms; // 47 ms
    EXPECT_FALSE(stream.IsHeld(2));
    EXPECT_TRUE(stream.IsHeld(3));
    clock.Now += 45ms; // 92 ms: the second ends at 92.88 ms
    EXPECT_TRUE(stream.IsHeld(3));
    clock.Now += 1ms;
    EXPECT_FALSE(stream.IsHeld(3));

    // After a pause the next buffer starts when it is written, not where the queue ended.
    clock.Now += 1s;
    EXPECT_TRUE(stream.Write(4, header));
    clock.Now += 46ms;
    EXPECT_TRUE(stream.IsHeld(4));
    clock.Now += 1ms;
    EXPECT_FALSE(stream.IsHeld(4));
}

TEST(NullWaveOut, CloseGivesEveryBufferBack) {
    ManualClock clock;
    NullWaveOut device({{"Silent", kAllWaveFormats16}}, clock.Function());
    auto opened = device.Open(-1, MakeWaveFormat(AudioSettings{0, 1, 11025, 2, 16}));
    ASSERT_TRUE(opened.Stream);
    AudioBuffer memory{};
    for (int k = 1; k <= kWaveBufferCount; ++k) {
        EXPECT_TRUE(opened.Stream->Write(k, WaveHeader{memory.data(), kWaveBufferBytes}));
    }
    EXPECT_FALSE(opened.Stream->Write(0, WaveHeader{memory.data(), kWaveBufferBytes}));
    EXPECT_FALSE(opened.Stream->Write(17, WaveHeader{memory.data(), kWaveBufferBytes}));
    EXPECT_TRUE(opened.Stream->IsHeld(16));
    opened.Stream->Close();
    for (int k = 1; k <= kWaveBufferCount; ++k) {
        EXPECT_FALSE(opened.Stream->IsHeld(k));
    }
}

TEST(NullWaveOut, OpenChecksTheDeviceNumberAndTheFormat) {
    NullWaveOut device;
    ASSERT_EQ(device.Devices().size(), 1u);
    EXPECT_EQ(device.Devices()[0].ProductName, "No sound output");
    EXPECT_EQ(device.Devices()[0].Formats, kAllWaveFormats16);
    EXPECT_TRUE(device.Open(0, MakeWaveFormat(AudioSettings{})).Stream);
    EXPECT_TRUE(device.Open(-1, MakeWaveFormat(AudioSettings{})).Stream);
    const auto missing = device.Open(1, MakeWaveFormat(AudioSettings{}));
    EXPECT_FALSE(missing.Stream);
    EXPECT_EQ(missing.Error, "Invalid device");
    EXPECT_FALSE(device.Open(-2, MakeWaveFormat(AudioSettings{})).Stream);
    const auto bad = device.Open(0, MakeWaveFormat(AudioSettings{0, 2, 44100, 2, 16}));
    EXPECT_FALSE(bad.Stream);
    EXPECT_FALSE(bad.Error.empty());

    NullWaveOut none({}, {});
    EXPECT_TRUE(none.Devices().empty());
    EXPECT_FALSE(none.Open(-1, MakeWaveFormat(AudioSettings{})).Stream);
}

} // namespace
} // namespace morvane::audio
