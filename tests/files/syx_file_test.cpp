#include "files/syx_file.h"

#include <cmath>
#include <numbers>
#include <sstream>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "document/error.h"
#include "file_test_support.h"

namespace morvane::files {
namespace {

using morvane::testing::ReadAll;
using morvane::testing::TempFolder;
using morvane::testing::WriteAll;

Wavetable NewTable(std::uint8_t device = 0) {
    Wavetable t;
    FillNewWavetable(t, device);
    return t;
}

// One message as a file would hold it: header fields, a recognisable sample pattern, a name.
std::vector<std::uint8_t> Message(std::uint8_t device, std::uint8_t slot, std::uint8_t number,
                                  std::uint8_t fill, const std::string &name) {
    std::vector<std::uint8_t> m(kMessageSize, fill);
    m[0] = 0xF0;
    m[1] = 0x3E;
    m[2] = 0x13;
    m[3] = device;
    m[4] = 0x12;
    m[5] = slot;
    m[6] = number;
    m[7] = 0x00;
    for (std::size_t c = 0; c < 14; ++c)
        m[392 + c] = c < name.size() ? static_cast<std::uint8_t>(name[c]) : ' ';
    m[406] = 0;
    m[407] = 0;
    m[408] = 0x7F;
    m[409] = 0xF7;
    return m;
}

void Append(std::vector<std::uint8_t> &to, const std::vector<std::uint8_t> &bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// The sample bytes of a new table, from the sine formula and the codec's rule written out here.
std::array<std::uint8_t, 3> ExpectedNewSample(int k) {
    const auto v = static_cast<std::int32_t>(
        std::floor(std::sin(2.0 * std::numbers::pi * (k + 1) / 128.0) / 2.0 * 1048575.0));
    if (v == -1 || v == 0)
        return {0, 0, 0};
    const std::int32_t m = std::abs(v);
    std::uint8_t high = static_cast<std::uint8_t>((m / 16384) % 128);
    if (v < 0)
        high = static_cast<std::uint8_t>((63 - high) | 0x40);
    return {high, static_cast<std::uint8_t>((m / 128) % 128), static_cast<std::uint8_t>(m % 128)};
}

TEST(SyxSave, WholeTableIsTheStampedMessagesByteForByte) {
    TempFolder folder;
    Wavetable table = NewTable(5);
    const std::string path = folder.File("pad.syx");
    SaveWavetableToFile(path, table, {1, 64, "Pad one", 95});

    const std::vector<std::uint8_t> file = ReadAll(path);
    ASSERT_EQ(file.size(), 26240u);
    const std::string name = "Pad one       ";
    for (int w = 0; w < 64; ++w) {
        SCOPED_TRACE("wave " + std::to_string(w + 1));
        const std::uint8_t *m = file.data() + 410 * w;
        const std::array<std::uint8_t, 8> header = {
            0xF0, 0x3E, 0x13, 0x05, 0x12, 0x5F, static_cast<std::uint8_t>(w), 0x00};
        for (std::size_t i = 0; i < 8; ++i)
            EXPECT_EQ(m[i], header[i]) << "offset " << i;
        for (int k = 0; k < 128; ++k) {
            const auto expected = ExpectedNewSample(k);
            ASSERT_EQ(m[8 + 3 * k], expected[0]) << "sample " << k;
            ASSERT_EQ(m[9 + 3 * k], expected[1]) << "sample " << k;
            ASSERT_EQ(m[10 + 3 * k], expected[2]) << "sample " << k;
        }
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(m + 392), 14), name);
        EXPECT_EQ(m[406], 0x00);
        EXPECT_EQ(m[407], 0x00);
        EXPECT_EQ(m[408], 0x7F);
        EXPECT_EQ(m[409], 0xF7);
    }
    // Sample 0 of a new table is 25,725 = 1 * 16,384 + 72 * 128 + 125.
    EXPECT_EQ(file[8], 0x01);
    EXPECT_EQ(file[9], 0x48);
    EXPECT_EQ(file[10], 0x7D);
    // The table holds what was written.
    EXPECT_TRUE(std::equal(file.begin(), file.end(), table.Bytes.begin()));
}

TEST(SyxSave, SubRangeStampsOnlyItsMessagesButChecksumsAll) {
    TempFolder folder;
    Wavetable table = NewTable();
    table.Message(39)[408] = 0x11; // a checksum byte as some file left it
    const std::string path = folder.File("part.syx");
    SaveWavetableToFile(path, table, {5, 10, "Strings", 80});

    const std::vector<std::uint8_t> file = ReadAll(path);
    ASSERT_EQ(file.size(), 2460u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("message " + std::to_string(i));
        const std::uint8_t *m = file.data() + 410 * i;
        EXPECT_EQ(m[0], 0xF0);
        EXPECT_EQ(m[5], 80);
        EXPECT_EQ(m[6], 4 + i);
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(m + 392), 14), "Strings       ");
        EXPECT_EQ(m[409], 0xF7);
    }
    // Outside the range nothing is stamped ...
    EXPECT_EQ(table.Message(0)[5], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(table.Message(10) + 392), 14),
              "untitled      ");
    // ... but every checksum byte is 7F.
    for (int w = 0; w < 64; ++w)
        EXPECT_EQ(table.Message(w)[408], 0x7F) << "wave " << w + 1;
}

TEST(SyxSave, NameIsPaddedAndCutButNotTrimmed) {
    TempFolder folder;
    Wavetable table = NewTable();
    SaveWavetableToFile(folder.File("a.syx"), table, {1, 1, " lead space", 80});
    SaveWavetableToFile(folder.File("b.syx"), table, {2, 2, "A name far too long", 80});
    SaveWavetableToFile(folder.File("c.syx"), table, {3, 3, "", 80});
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(table.Message(0) + 392), 14),
              " lead space   ");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(table.Message(1) + 392), 14),
              "A name far too");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(table.Message(2) + 392), 14),
              "              ");
}

TEST(SyxSave, EmptyRangeCreatesAnEmptyFile) {
    TempFolder folder;
    Wavetable table = NewTable();
    const std::string path = folder.File("none.syx");
    WriteAll(path, {1, 2, 3});
    SaveWavetableToFile(path, table, {10, 9, "x", 80});
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(SyxSave, ToAStreamWritesTheSameBytes) {
    TempFolder folder;
    Wavetable a = NewTable(3);
    Wavetable b = a;
    SaveWavetableToFile(folder.File("a.syx"), a, {7, 9, "Same", 100});
    std::ostringstream out;
    SaveWavetableToStream(out, b, {7, 9, "Same", 100});
    const std::string s = out.str();
    const std::vector<std::uint8_t> file = ReadAll(folder.File("a.syx"));
    EXPECT_EQ(std::vector<std::uint8_t>(s.begin(), s.end()), file);
}

TEST(SyxSave, FailedSaveLeavesThePreviousFileAndNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder.File("keep.syx");
    const std::vector<std::uint8_t> previous(1000, 0x42);
    WriteAll(path, previous);
    Wavetable table = NewTable();
    {
        // Writes past 4,096 bytes fail as on a full disk.
        morvane::testing::FileSizeLimit limit(4096);
        EXPECT_THROW(SaveWavetableToFile(path, table, {1, 64, "x", 80}), Error);
    }
    EXPECT_EQ(ReadAll(path), previous);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.syx"});
}

TEST(SyxSave, ErrorNamesTheFileThatCannotBeCreated) {
    TempFolder folder;
    Wavetable table = NewTable();
    const std::string path = folder.File("missing/x.syx");
    try {
        SaveWavetableToFile(path, table, {1, 64, "x", 80});
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST(SyxSave, ReplacedFileKeepsItsPermissions) {
    TempFolder folder;
    const std::string path = folder.File("mode.syx");
    WriteAll(path, {1});
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    Wavetable table = NewTable();
    SaveWavetableToFile(path, table, {1, 2, "x", 80});
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(st.st_size, 820);
}

TEST(SyxSave, SavingThroughASymbolicLinkReplacesItsTarget) {
    TempFolder folder;
    const std::string target = folder.File("real.syx");
    const std::string link = folder.File("link.syx");
    WriteAll(target, {1});
    std::filesystem::create_symlink(target, link);
    Wavetable table = NewTable();
    SaveWavetableToFile(link, table, {1, 1, "x", 80});
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::file_size(target), 410u);
}

TEST(SyxLoad, ThreeMessagesReplaceWavesOneToThreeOnly) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes = {0x00, 0x12, 0x7F}; // skipped before the first F0
    Append(bytes, Message(1, 90, 10, 0x11, "First"));
    Append(bytes, {0xF7, 0x55}); // skipped between messages
    Append(bytes, Message(2, 91, 11, 0x22, "Second"));
    Append(bytes, Message(3, 92, 12, 0x33, "Third"));
    const std::string path = folder.File("three.syx");
    WriteAll(path, bytes);

    const Wavetable before = NewTable();
    Wavetable table = before;
    const SyxLoadResult r = LoadWavetableFromFile(path, table);
    EXPECT_EQ(r.MessagesRead, 3);
    EXPECT_EQ(r.MessagesBeyond, 0);
    EXPECT_EQ(r.ReportText(), ""); // bytes outside messages are no news
    EXPECT_EQ(r.TooManyText(), "");
    EXPECT_EQ(r.LastSlot, 92);
    EXPECT_EQ(r.LastDevice, 3);
    // The wave-number bytes 10..12 do not matter: the n-th message goes into wave n.
    EXPECT_EQ(table.Message(0)[8], 0x11);
    EXPECT_EQ(table.Message(1)[8], 0x22);
    EXPECT_EQ(table.Message(2)[8], 0x33);
    EXPECT_EQ(table.Message(2)[6], 12);
    EXPECT_TRUE(std::equal(table.Bytes.begin() + 3 * 410, table.Bytes.end(),
                           before.Bytes.begin() + 3 * 410));
}

TEST(SyxLoad, OverflowSamplesLoadAsTheyAreAndAreNamed) {
    // Sample bytes of 80 hex or more (F0 and F7 among them) are Morvane's own "Allow overflow"
    // files: the message is taken whole, and the report names the wave.
    std::vector<std::uint8_t> first = Message(0, 80, 0, 0xF0, "A");
    first[100] = 0xF7;
    std::vector<std::uint8_t> bytes = first;
    Append(bytes, Message(0, 81, 1, 0x01, "B"));
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    Wavetable table = NewTable();
    const SyxLoadResult r = LoadWavetableFromStream(in, table);
    EXPECT_EQ(r.MessagesRead, 2);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), table.Message(0)));
    EXPECT_EQ(r.Overflow, WaveSet{1});
    EXPECT_EQ(r.ReportText(),
              "2 wave messages were loaded. Wave 1 holds values the instrument cannot take.");
}

TEST(SyxLoad, CutAndDamagedMessagesAreSkippedAndCounted) {
    // 1: whole. 2: cut after 200 bytes, so that message 3 begins inside its 410 bytes.
    // 4: a name byte of 80 hex. 5: F7 missing. 6: whole. 7: cut by the end of the file.
    std::vector<std::uint8_t> bytes = Message(4, 100, 0, 0x21, "One");
    std::vector<std::uint8_t> cut = Message(4, 101, 1, 0x22, "Two");
    bytes.insert(bytes.end(), cut.begin(), cut.begin() + 200);
    Append(bytes, Message(4, 102, 2, 0x23, "Three"));
    std::vector<std::uint8_t> badName = Message(4, 103, 3, 0x24, "Four");
    badName[395] = 0x80;
    Append(bytes, badName);
    std::vector<std::uint8_t> noEnd = Message(4, 104, 4, 0x25, "Five");
    noEnd[409] = 0x00;
    Append(bytes, noEnd);
    Append(bytes, Message(4, 105, 5, 0x26, "Six"));
    const std::vector<std::uint8_t> last = Message(4, 106, 6, 0x27, "Seven");
    bytes.insert(bytes.end(), last.begin(), last.begin() + 50);

    const Wavetable before = NewTable();
    Wavetable expected = before;
    std::copy_n(bytes.begin(), 410, expected.Message(0));
    std::copy_n(bytes.begin() + 610, 410, expected.Message(1));
    std::copy_n(bytes.begin() + 610 + 3 * 410, 410, expected.Message(2));
    for (const std::size_t block : {1u, 409u, 410u, 411u, 65536u}) {
        SCOPED_TRACE("block " + std::to_string(block));
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        ByteReader reader(StreamSource(in), block);
        Wavetable table = before;
        const SyxLoadResult r = LoadWavetable(reader, table);
        EXPECT_EQ(r.MessagesRead, 3);
        EXPECT_EQ(r.Damaged, 3);
        EXPECT_EQ(r.EndsInside, 7);
        EXPECT_EQ(r.LastSlot, 105);
        EXPECT_EQ(table, expected);
        EXPECT_EQ(r.ReportText(), "3 wave messages were loaded. The file ends inside message 7. "
                                  "3 damaged messages were skipped.");
    }
}

TEST(SyxLoad, NoWholeMessageIsRefusedAndChangesNothing) {
    TempFolder folder;
    const Wavetable before = NewTable();
    const std::string path = folder.File("none.syx");
    const std::string none = "The file holds no whole wave message.";
    const std::vector<std::uint8_t> head = Message(1, 80, 0, 1, "Head");
    for (const auto &[bytes, text] : std::vector<std::pair<std::vector<std::uint8_t>, std::string>>{
             {{}, none},
             {std::vector<std::uint8_t>(5000, 0x7F), none},
             // Only the last F0 could begin a message.
             {std::vector<std::uint8_t>(10000, 0xF0), none + " The file ends inside message 1."},
             {{0x01, 0xF0}, none + " The file ends inside message 1."},
             {std::vector<std::uint8_t>(head.begin(), head.begin() + 409),
              none + " The file ends inside message 1."}}) {
        WriteAll(path, bytes);
        Wavetable table = before;
        try {
            LoadWavetableFromFile(path, table);
            ADD_FAILURE() << "loaded " << bytes.size() << " bytes";
        } catch (const Error &e) {
            EXPECT_EQ(std::string(e.what()), text);
        }
        EXPECT_EQ(table, before);
    }
}

TEST(SyxSave, OverflowWavesAreNamedForTheBox) {
    Wavetable table = NewTable();
    EXPECT_EQ(OverflowWaves(table, 1, 64), WaveSet{0});
    table.SamplePtr(2, 5)[0] = 0x80;
    table.SamplePtr(6, 127)[2] = 0xFF;
    table.SamplePtr(63, 0)[1] = 0x90;
    EXPECT_EQ(OverflowWaves(table, 1, 64),
              (WaveSet{1} << 2) | (WaveSet{1} << 6) | (WaveSet{1} << 63));
    EXPECT_EQ(OverflowWavesText(OverflowWaves(table, 4, 64)),
              "Waves 7 and 64 hold values the instrument cannot take.");
    EXPECT_EQ(OverflowWavesText(OverflowWaves(table, 1, 63)),
              "Waves 3 and 7 hold values the instrument cannot take.");
    EXPECT_EQ(OverflowWavesText(OverflowWaves(table, 1, 64)),
              "Waves 3, 7 and 64 hold values the instrument cannot take.");
}

TEST(SyxLoad, MoreThan64MessagesLoadsTheFirst64AndSaysSo) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 70; ++i)
        Append(bytes, Message(static_cast<std::uint8_t>(i), 80, static_cast<std::uint8_t>(i % 64),
                              static_cast<std::uint8_t>(i), "Many"));
    const std::string path = folder.File("many.syx");
    WriteAll(path, bytes);
    Wavetable table = NewTable();
    const SyxLoadResult r = LoadWavetableFromFile(path, table);
    EXPECT_EQ(r.MessagesRead, 64);
    EXPECT_EQ(r.MessagesBeyond, 6);
    EXPECT_EQ(r.LastDevice, 63); // the 64th message, the last one stored
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 26240, table.Bytes.begin()));
    EXPECT_EQ(r.TooManyText(), "The file holds 70 wave messages; only the first 64 were loaded.");
}

TEST(SyxLoad, Exactly64MessagesSayNothingMore) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 64; ++i)
        Append(bytes, Message(0, 80, static_cast<std::uint8_t>(i), 1, "x"));
    bytes.push_back(0x00); // a trailing byte that is no F0
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    Wavetable table = NewTable();
    const SyxLoadResult r = LoadWavetableFromStream(in, table);
    EXPECT_EQ(r.MessagesRead, 64);
    EXPECT_EQ(r.MessagesBeyond, 0);
    EXPECT_EQ(r.TooManyText(), "");
}

TEST(SyxRoundTrip, WholeTableComesBackByteForByte) {
    TempFolder folder;
    Wavetable table = NewTable(9);
    for (int w = 0; w < 64; ++w)
        for (int k = 0; k < 128; ++k)
            WriteSample(table, w, k, (w * 16411 + k * 8191) % 2000000 - 1000000);
    const std::string path = folder.File("round.syx");
    SaveWavetableToFile(path, table, {1, 64, "Round trip", 118});
    Wavetable loaded = NewTable();
    const SyxLoadResult r = LoadWavetableFromFile(path, loaded);
    EXPECT_EQ(r.MessagesRead, 64);
    EXPECT_EQ(loaded, table);
    EXPECT_EQ(ReadAll(path), std::vector<std::uint8_t>(table.Bytes.begin(), table.Bytes.end()));
}

TEST(SyxRoundTrip, SubRangeComesBackIntoWavesFromOne) {
    TempFolder folder;
    Wavetable table = NewTable();
    for (int k = 0; k < 128; ++k) {
        WriteSample(table, 19, k, 1000 + k);
        WriteSample(table, 20, k, -2000 - k);
    }
    const std::string path = folder.File("sub.syx");
    SaveWavetableToFile(path, table, {20, 21, "Sub", 81});
    Wavetable loaded = NewTable();
    const Wavetable before = loaded;
    EXPECT_EQ(LoadWavetableFromFile(path, loaded).MessagesRead, 2);
    EXPECT_TRUE(std::equal(loaded.Message(0), loaded.Message(0) + 410, table.Message(19)));
    EXPECT_TRUE(std::equal(loaded.Message(1), loaded.Message(1) + 410, table.Message(20)));
    EXPECT_EQ(ReadSample(loaded, 0, 5), 1005);
    EXPECT_EQ(ReadSample(loaded, 1, 5), -2005);
    EXPECT_EQ(loaded.Message(0)[6], 19); // the wave-number byte as saved
    EXPECT_TRUE(
        std::equal(loaded.Bytes.begin() + 820, loaded.Bytes.end(), before.Bytes.begin() + 820));
}

} // namespace
} // namespace morvane::files
