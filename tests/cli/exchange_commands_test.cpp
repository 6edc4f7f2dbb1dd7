// convert, info and render of morvane-cli: exit statuses, the formats chosen by name and by
// --to, and the files they write.
#include "cli/exchange_commands.h"

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
