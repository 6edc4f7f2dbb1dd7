// convert, info and render of morvane-cli: exit statuses, the formats chosen by name and by
// --to, and the files they write.
#include "cli/exchange_commands.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QString>

#include "exchange/table_files.h"
#include "support/temp_folder.h"

namespace morvane::cli {
namespace {

namespace fs = std::filesystem;

class ExchangeCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Wavetable table;
        FillNewWavetable(table, 0);
        WriteNameToAll(table, TrimmedPaddedName("Sines"));
        exchange::SaveTableFile(File("a.syx"), exchange::TableFormat::Syx, table);
    }
    std::string File(const std::string &name) const { return (folder / name).string(); }

    static int Run(int (*command)(int &, char **, const std::vector<std::string> &),
                   const std::vector<std::string> &args) {
        int argc = 0;
        return command(argc, nullptr, args);
    }

    static std::string Head(const std::string &path, std::size_t n) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes(n, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(n));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        return bytes;
    }

    testing_support::TempFolder folder;
};

TEST_F(ExchangeCommandsTest, ConvertChoosesTheFormatByNameOrByTo) {
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b-2048.wav")}), 0);
    EXPECT_EQ(fs::file_size(File("b-2048.wav")), 524406u);
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.wav")}), 0);
    EXPECT_EQ(fs::file_size(File("b.wav")), 32812u);
    EXPECT_TRUE(fs::exists(File("b.wav.txt")));
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.data"), "--to", "mid"}), 0);
    EXPECT_EQ(Head(File("b.data"), 4), "MThd");
    // And back: the export for other synths read as audio, into a .syx of slot 90.
    EXPECT_EQ(Run(ConvertCommand, {File("b-2048.wav"), File("c.syx"), "--slot", "90"}), 0);
    const Wavetable back = exchange::LoadTableFile(File("c.syx"));
    EXPECT_EQ(back.Message(0)[kOffsetSlot], 90);
    // Normalised by default: the peak -524,288 goes to full scale, so 524,287 becomes
    // 524,287 * 1,048,575 / 524,288 = 1,048,573; --keep-level keeps it.
    EXPECT_EQ(ReadSample(back, 0, 31), 1048573);
    EXPECT_EQ(ReadSample(back, 0, 95), -1048575);
    EXPECT_EQ(Run(ConvertCommand, {File("b-2048.wav"), File("d.syx"), "--keep-level"}), 0);
    EXPECT_EQ(ReadSample(exchange::LoadTableFile(File("d.syx")), 0, 31), 524287);
}

TEST_F(ExchangeCommandsTest, ConvertTellsUsageFromFailure) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.aiff")}), 2); // no format
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx")}), 2);                 // no OUT
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.syx"), "--to", "flac"}), 2);
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.syx"), "--frame-length", "x"}), 2);
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.syx"), "--loud"}), 2);
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.syx"), "--slot"}), 2);
    EXPECT_EQ(Run(ConvertCommand, {File("none.syx"), File("b.syx")}), 1); // cannot read
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("b.syx"), "--slot", "200"}), 1);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("morvane-cli: cannot tell the format of"), std::string::npos);
    EXPECT_NE(errors.find("morvane-cli convert: The slot 200 is none of 80 to 118."),
              std::string::npos);
    EXPECT_FALSE(fs::exists(File("b.syx")));
}

TEST_F(ExchangeCommandsTest, ConvertFollowsTheLoadRulesForCutFiles) {
    // 10,000 bytes of a .syx: 24 whole messages and the head of the 25th. The window loads
    // the 24 and says so; convert says the same on standard error, writes nothing and fails.
    const std::string whole = Head(File("a.syx"), 26240);
    std::ofstream(File("cut.syx"), std::ios::binary) << whole.substr(0, 10000);
    std::ofstream(File("head.syx"), std::ios::binary) << whole.substr(0, 300);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(ConvertCommand, {File("cut.syx"), File("out.syx")}), 1);
    EXPECT_EQ(Run(ConvertCommand, {File("head.syx"), File("none.syx")}), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "morvane-cli convert: 24 wave messages were loaded. The file ends inside message "
              "25. Nothing was written.\nmorvane-cli convert: The file holds no whole wave "
              "message. The file ends "
              "inside message 1.\n");
    EXPECT_FALSE(fs::exists(File("out.syx")));
    EXPECT_FALSE(fs::exists(File("none.syx")));
}

TEST_F(ExchangeCommandsTest, InfoPrintsWhatTheFileHolds) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(Run(InfoCommand, {File("a.syx")}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "file: \"a.syx\"\nkind: System Exclusive\nmessages: 64\nnames: \"Sines\"\n"
              "slot: 80\ndevice: 0\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(InfoCommand, {}), 2);
    EXPECT_EQ(Run(InfoCommand, {File("none.wav")}), 1);
    testing::internal::GetCapturedStderr();
}

// A mono 16-bit WAV at 44,100 Hz of sample(n) for n < count, written byte by byte.
void WriteWav(const std::string &path, std::size_t count, double (*sample)(std::size_t)) {
    std::string bytes;
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    bytes += "RIFF";
    put(static_cast<std::uint32_t>(36 + 2 * count), 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(44100, 4);
    put(88200, 4);
    put(2, 2);
    put(16, 2);
    bytes += "data";
    put(static_cast<std::uint32_t>(2 * count), 4);
    for (std::size_t n = 0; n < count; ++n)
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(sample(n) * 32767))),
            2);
    std::ofstream(path, std::ios::binary) << bytes;
}

// A band-limited saw at 220.5 Hz (period 200 samples) at half full scale, for 1.2 s.
double Saw(std::size_t n) {
    double sum = 0.0;
    for (int k = 1; k <= 99; ++k)
        sum += ((k % 2 == 1) ? 1.0 : -1.0) *
               std::sin(2 * M_PI * k * static_cast<double>(n) / 200.0) / k;
    return sum / M_PI;
}

double Noise(std::size_t n) {
    std::uint32_t state = static_cast<std::uint32_t>(n) * 2654435761u;
    state ^= state >> 15;
    state *= 2246822519u;
    state ^= state >> 13;
    return static_cast<double>(state >> 8) / (1u << 24) - 0.5;
}

TEST_F(ExchangeCommandsTest, InfoPitchPrintsTheLineOrTheRefusal) {
    WriteWav(File("saw.wav"), 52920, Saw);
    WriteWav(File("noise.wav"), 44100, Noise);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(InfoCommand, {File("saw.wav"), "--pitch"}), 0);
    EXPECT_EQ(Run(InfoCommand, {"--pitch", File("noise.wav")}), 1);
    EXPECT_EQ(Run(InfoCommand, {"--pitch", File("a.syx")}), 1);
    EXPECT_EQ(Run(InfoCommand, {File("saw.wav"), "--pitches"}), 2);
    // 1200 log2(220.5 / 220) = 3.93 cents above A3.
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "pitch: 220.50 Hz (A3 +4 cents), period 200.00 samples\n");
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("morvane-cli info: No steady pitch found in \"noise.wav\" from 0.000 s "
                          "to 1.000 s. Enter the pitch by hand, as a frequency in Hz or a note "
                          "name such as \"A3\".\n"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("morvane-cli info: \"a.syx\" is a wavetable, not a recording"),
              std::string::npos);
    EXPECT_NE(errors.find("morvane-cli: unknown option --pitches"), std::string::npos);
}

TEST_F(ExchangeCommandsTest, ConvertResynthMakesATableOfCyclesWithItsChoices) {
    WriteWav(File("saw.wav"), 52920, Saw);
    EXPECT_EQ(Run(ConvertCommand, {File("saw.wav"), File("saw.syx"), "--resynth"}), 0);
    const std::string bytes = Head(File("saw.syx"), 30000);
    ASSERT_EQ(bytes.size(), 26240u); // 64 messages of 410 bytes
    const Wavetable table = exchange::LoadTableFile(File("saw.syx"));
    EXPECT_EQ(table.Message(0)[kOffsetSlot], 80);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(table.Message(63) + kOffsetName), 3),
              "saw");
    // Aligned and normalised: each wave is the saw's series, starting at its rising zero
    // crossing (the middle of its ramp), with its loudest sample at full scale.
    std::int32_t loudest = 0;
    for (int w = 0; w < kWaveCount; ++w) {
        EXPECT_NEAR(ReadSample(table, w, 0), 0, 2000) << w;
        EXPECT_GT(ReadSample(table, w, 32), 200000) << w;
        for (int n = 0; n < kSampleCount; ++n)
            loudest = std::max(loudest, std::abs(ReadSample(table, w, n)));
    }
    EXPECT_EQ(loudest, kMaxSample);

    // Given an octave down, each cycle holds two periods: the odd harmonics vanish. The region
    // from 0.2 s to 0.4 s, the level kept, and the slot given are used as they are.
    EXPECT_EQ(Run(ConvertCommand,
                  {File("saw.wav"), File("low.syx"), "--resynth", "--pitch", "A2", "--start", "0.2",
                   "--end", "0.4", "--keep-level", "--slot", "99", "--phase", "zero"}),
              0);
    const Wavetable low = exchange::LoadTableFile(File("low.syx"));
    EXPECT_EQ(low.Message(5)[kOffsetSlot], 99);
    for (int w : {0, 63}) {
        // Harmonic 1 of a wave holding two periods: the sum of s[n] sin(2 pi n / 128) is 0.
        double first = 0.0;
        double second = 0.0;
        for (int n = 0; n < kSampleCount; ++n) {
            first += ReadSample(low, w, n) * std::sin(2 * M_PI * n / kSampleCount);
            second += ReadSample(low, w, n) * std::sin(4 * M_PI * n / kSampleCount);
        }
        EXPECT_LT(std::fabs(first), 1e-3 * std::fabs(second)) << w;
        // The saw at half scale kept: its fundamental (here harmonic 2) has amplitude 1/pi.
        EXPECT_NEAR(std::fabs(second) * 2 / kSampleCount / kMaxSample, 1 / M_PI, 0.01) << w;
    }

    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(ConvertCommand, {File("saw.wav"), File("x.syx"), "--pitch", "A2"}), 2);
    EXPECT_EQ(Run(ConvertCommand, {File("saw.wav"), File("x.syx"), "--resynth", "--pitch", "Q"}),
              2);
    EXPECT_EQ(Run(ConvertCommand, {File("saw.wav"), File("x.syx"), "--resynth", "--phase", "x"}),
              2);
    EXPECT_EQ(Run(ConvertCommand, {File("saw.wav"), File("x.syx"), "--resynth", "--end", "x"}), 2);
    EXPECT_EQ(Run(ConvertCommand, {File("saw.wav"), File("x.syx"), "--resynth", "--end", "9"}), 1);
    EXPECT_EQ(Run(ConvertCommand, {File("a.syx"), File("x.syx"), "--resynth"}), 1);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("morvane-cli: --pitch, --start, --end and --phase go with --resynth"),
              std::string::npos);
    EXPECT_NE(errors.find("morvane-cli convert: The end time 9.000 s lies outside \"saw.wav\", "
                          "which lasts 1.200 s."),
              std::string::npos)
        << errors;
    EXPECT_FALSE(fs::exists(File("x.syx")));
}

TEST_F(ExchangeCommandsTest, RenderWritesAPngOfTheWholeTable) {
    EXPECT_EQ(Run(RenderCommand, {File("a.syx"), File("a.png")}), 0);
    EXPECT_EQ(Head(File("a.png"), 8), "\x89PNG\r\n\x1a\n");
    const QImage image(QString::fromStdString(File("a.png")));
    EXPECT_EQ(image.width(), 1536);
    EXPECT_EQ(image.height(), 129 * 3 + 8 + 8 * 192);
    // The zero line of wave 1's graph, red, at row 96 of its 192.
    EXPECT_EQ(image.pixel(50, 129 * 3 + 8 + 96), qRgb(192, 0, 0));
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(RenderCommand, {File("a.syx")}), 2);
    testing::internal::GetCapturedStderr();
}

} // namespace
} // namespace morvane::cli
