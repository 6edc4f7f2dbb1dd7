#include "files/midi_file.h"

#include <random>
#include <sstream>

#include <gtest/gtest.h>

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

// A table whose samples tell its waves apart, stamped with a name as the export does.
Wavetable NamedTable(const std::string &name, int seed, std::uint8_t slot = 80) {
    Wavetable t = NewTable(static_cast<std::uint8_t>(seed % 128));
    for (int w = 0; w < 64; ++w)
        for (int k = 0; k < 128; ++k)
            WriteSample(t, w, k, (seed * 7919 + w * 1031 + k * 17) % 1000000);
    StampHeaders(t, 1, 64, name, slot);
    return t;
}

// One System Exclusive event as the export writes it.
std::vector<std::uint8_t> Event(const Wavetable &t, int w) {
    std::vector<std::uint8_t> e(414);
    e[0] = 0xF0;
    e[1] = 0x83;
    e[2] = 0x19;
    std::copy(t.Message(w) + 1, t.Message(w) + 410, e.begin() + 3);
    e[412] = 0x86;
    e[413] = 0x00;
    return e;
}

void Append(std::vector<std::uint8_t> &to, const std::vector<std::uint8_t> &bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

struct Asked {
    std::vector<std::string> Names;
    int Choices = 0;
};

MidiImportPrompts Prompts(Asked &asked, std::optional<std::size_t> choice) {
    MidiImportPrompts p;
    p.Choose = [&asked, choice](const std::vector<std::string> &names) {
        asked.Names = names;
        ++asked.Choices;
        return choice;
    };
    return p;
}

TEST(MidiExport, FileLayoutIsByteExact) {
    TempFolder folder;
    Wavetable table = NewTable(2);
    table.Message(3)[408] = 0x00;
    const std::string path = folder.File("pad.mid");
    WriteMidiFile(path, table, "Midi name", 99);

    const std::vector<std::uint8_t> f = ReadAll(path);
    ASSERT_EQ(f.size(), 26536u);
    const std::vector<std::uint8_t> head = {
        0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x01, 0x80, 0x4D,
        0x54, 0x72, 0x6B, 0x00, 0x00, 0x67, 0x92, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00};
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin(), f.begin() + 30), head);
    // The track length counts everything after its four bytes.
    const std::uint32_t trackLength = (f[18] << 24) | (f[19] << 16) | (f[20] << 8) | f[21];
    EXPECT_EQ(trackLength, 26514u);
    EXPECT_EQ(trackLength, f.size() - 22);
    EXPECT_EQ(f[29], 0x00);
    EXPECT_EQ(f[30], 0xF0);
    EXPECT_EQ(f[31], 0x83);
    EXPECT_EQ(f[32], 0x19);
    EXPECT_EQ(f[442], 0x86);
    EXPECT_EQ(f[443], 0x00);
    for (int w = 0; w < 64; ++w) {
        SCOPED_TRACE("wave " + std::to_string(w + 1));
        const std::uint8_t *e = f.data() + 30 + 414 * w;
        ASSERT_EQ(e[0], 0xF0);
        ASSERT_EQ(e[1], 0x83);
        ASSERT_EQ(e[2], 0x19);
        // The message's bytes 1..409 as they stand after stamping.
        EXPECT_EQ(e[3], 0x3E);
        EXPECT_EQ(e[3 + 2], 0x02); // device byte, as the table had it
        EXPECT_EQ(e[3 + 4], 99);   // slot
        EXPECT_EQ(e[3 + 5], w);    // wave number
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(e + 3 + 391), 14), "Midi name     ");
        EXPECT_EQ(e[3 + 407], 0x7F); // checksum byte, refilled
        EXPECT_EQ(e[3 + 408], 0xF7);
        EXPECT_TRUE(std::equal(e + 3, e + 412, table.Message(w) + 1));
        EXPECT_EQ(e[412], 0x86);
        EXPECT_EQ(e[413], 0x00);
    }
    const std::vector<std::uint8_t> tail = {0xFF, 0x06, 0x03, 0x65, 0x6E,
                                            0x64, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 26526, f.end()), tail);
}

TEST(MidiExport, StreamAndFileAgree) {
    TempFolder folder;
    Wavetable a = NewTable();
    Wavetable b = a;
    WriteMidiFile(folder.File("a.mid"), a, "x", 80);
    std::ostringstream out;
    WriteMidiToStream(out, b, "x", 80);
    const std::string s = out.str();
    EXPECT_EQ(std::vector<std::uint8_t>(s.begin(), s.end()), ReadAll(folder.File("a.mid")));
    EXPECT_EQ(a, b);
}

TEST(MidiExport, FailedExportLeavesThePreviousFile) {
    TempFolder folder;
    const std::string path = folder.File("keep.mid");
    const std::vector<std::uint8_t> previous(300, 0x33);
    WriteAll(path, previous);
    Wavetable table = NewTable();
    {
        morvane::testing::FileSizeLimit limit(10000);
        EXPECT_THROW(WriteMidiFile(path, table, "x", 80), Error);
    }
    EXPECT_EQ(ReadAll(path), previous);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"keep.mid"});
}

TEST(MidiImport, ExportedFileComesBackByteForByte) {
    TempFolder folder;
    Wavetable table = NamedTable("Round", 3, 117);
    const std::string path = folder.File("round.mid");
    WriteMidiFile(path, table, "Round", 117);

    Wavetable imported = NewTable();
    Asked asked;
    const MidiImportResult r = ImportWavetableFromMidi(path, imported, Prompts(asked, 0));
    EXPECT_TRUE(r.Imported);
    EXPECT_EQ(asked.Names, std::vector<std::string>{"Round         "});
    EXPECT_EQ(r.Copy.Count, 64);
    EXPECT_EQ(r.Copy.LastSlot, 117);
    EXPECT_EQ(r.Copy.LastDevice, 3);
    EXPECT_EQ(imported, table);
}

TEST(MidiImport, TwoWavetablesAreListedInFileOrderAndTheSecondCanBeChosen) {
    TempFolder folder;
    Wavetable first = NamedTable("Zeta", 1);
    Wavetable second = NamedTable("Alpha", 2, 90);
    std::vector<std::uint8_t> bytes = MidiFileBytes(first);
    Append(bytes, MidiFileBytes(second));
    const std::string path = folder.File("two.mid");
    WriteAll(path, bytes);

    Wavetable imported = NewTable();
    Asked asked;
    const MidiImportResult r = ImportWavetableFromMidi(path, imported, Prompts(asked, 1));
    EXPECT_EQ(asked.Names, (std::vector<std::string>{"Zeta          ", "Alpha         "}));
    EXPECT_EQ(r.Copy.Count, 64);
    EXPECT_EQ(r.Copy.LastSlot, 90);
    EXPECT_EQ(imported, second);
}

TEST(MidiImport, AtMost64MessagesAreCopied) {
    TempFolder folder;
    Wavetable a = NamedTable("Long", 4);
    Wavetable b = NamedTable("Long", 5);
    std::vector<std::uint8_t> bytes;
    for (int w = 0; w < 64; ++w)
        Append(bytes, Event(a, w));
    for (int w = 0; w < 6; ++w)
        Append(bytes, Event(b, w));
    const std::string path = folder.File("seventy.mid");
    WriteAll(path, bytes);
    Wavetable imported = NewTable();
    Asked asked;
    const MidiImportResult r = ImportWavetableFromMidi(path, imported, Prompts(asked, 0));
    EXPECT_EQ(r.Copy.Count, 64);
    EXPECT_EQ(imported, a);
}

TEST(MidiImport, TenMessagesFillWavesOneToTen) {
    TempFolder folder;
    Wavetable a = NamedTable("Ten", 6);
    std::vector<std::uint8_t> bytes = {0x4D, 0x54};
    for (int w = 20; w < 30; ++w)
        Append(bytes, Event(a, w));
    const std::string path = folder.File("ten.mid");
    WriteAll(path, bytes);
    const Wavetable before = NewTable();
    Wavetable imported = before;
    Asked asked;
    const MidiImportResult r = ImportWavetableFromMidi(path, imported, Prompts(asked, 0));
    EXPECT_EQ(r.Copy.Count, 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(std::equal(imported.Message(i), imported.Message(i) + 410, a.Message(20 + i)))
            << "wave " << i + 1;
    EXPECT_TRUE(std::equal(imported.Bytes.begin() + 4100, imported.Bytes.end(),
                           before.Bytes.begin() + 4100));
}

TEST(MidiImport, NamesDifferingInCaseAreListedOnceButCopiedExactly) {
    TempFolder folder;
    Wavetable lower = NamedTable("pads", 7);
    Wavetable upper = NamedTable("PADS", 8);
    std::vector<std::uint8_t> bytes;
    for (int w = 0; w < 3; ++w)
        Append(bytes, Event(lower, w));
    for (int w = 0; w < 3; ++w)
        Append(bytes, Event(upper, w));
    Append(bytes, Event(lower, 3));
    const std::string path = folder.File("case.mid");
    WriteAll(path, bytes);
    Wavetable imported = NewTable();
    Asked asked;
    const MidiImportResult r = ImportWavetableFromMidi(path, imported, Prompts(asked, 0));
    EXPECT_EQ(asked.Names, std::vector<std::string>{"pads          "});
    EXPECT_EQ(r.Copy.Count, 4);
    for (int w = 0; w < 4; ++w)
        EXPECT_TRUE(std::equal(imported.Message(w), imported.Message(w) + 410, lower.Message(w)));
}

TEST(MidiImport, FileWithoutWaveEventsSaysSoAndChangesNothing) {
    TempFolder folder;
    // Events that are no wave dumps: the length bytes are not 83 19.
    std::vector<std::uint8_t> bytes = {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    std::vector<std::uint8_t> other(40, 0x20);
    other[0] = 0xF0;
    other[1] = 0x83;
    other[2] = 0x18;
    other[39] = 0xF7;
    Append(bytes, other);
    const std::string path = folder.File("none.mid");
    WriteAll(path, bytes);
    const Wavetable before = NewTable();
    Wavetable table = before;
    Asked asked;
    try {
        ImportWavetableFromMidi(path, table, Prompts(asked, 0));
        ADD_FAILURE() << "no refusal";
    } catch (const NoWavetableInFile &e) {
        EXPECT_EQ(std::string(e.what()), "No wavetable in file.");
    }
    EXPECT_EQ(asked.Choices, 0);
    EXPECT_EQ(table, before);
}

TEST(MidiImport, MissingFileThrowsAndChangesNothing) {
    TempFolder folder;
    const Wavetable before = NewTable();
    Wavetable table = before;
    Asked asked;
    const std::string path = folder.File("absent.mid");
    try {
        ImportWavetableFromMidi(path, table, Prompts(asked, 0));
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open \"" + path + "\": No such file or directory");
    }
    EXPECT_EQ(asked.Choices, 0);
    EXPECT_EQ(table, before);
}

TEST(MidiImport, TruncatedAndDamagedEventsAreSkippedAndCounted) {
    TempFolder folder;
    Wavetable a = NamedTable("Cut", 2, 85);
    std::vector<std::uint8_t> bytes = MidiFileBytes(a);
    bytes[kMidiHeaderSize + 3 * kMidiEventSize + 400] = 0x80; // wave 4: a name byte of 80 hex
    bytes.resize(10000);                                      // inside the 25th event
    const std::string path = folder.File("cut.mid");
    WriteAll(path, bytes);
    const Wavetable before = NewTable();
    Wavetable table = before;
    Asked asked;
    const MidiImportResult r = ImportWavetableFromMidi(path, table, Prompts(asked, 0));
    ASSERT_TRUE(r.Imported);
    EXPECT_EQ(r.Copy.Count, 23);
    EXPECT_EQ(r.Copy.ReportText(), "23 wave messages were loaded. The file ends inside message "
                                   "25. 1 damaged message was skipped.");
    for (int w = 0; w < 23; ++w)
        EXPECT_TRUE(
            std::equal(table.Message(w), table.Message(w) + 410, a.Message(w < 3 ? w : w + 1)))
            << "wave " << w + 1;
    EXPECT_TRUE(std::equal(table.Bytes.begin() + 23 * 410, table.Bytes.end(),
                           before.Bytes.begin() + 23 * 410));

    // Cut inside the first event: nothing to import, the table stays.
    bytes.resize(kMidiHeaderSize + 100);
    WriteAll(path, bytes);
    Asked none;
    try {
        ImportWavetableFromMidi(path, table, Prompts(none, 0));
        ADD_FAILURE() << "no refusal";
    } catch (const NoWavetableInFile &e) {
        EXPECT_EQ(std::string(e.what()), "No wavetable in file. The file ends inside message 1.");
    }
    EXPECT_EQ(none.Choices, 0);
}

TEST(MidiImport, CancelOrNoSelectionChangesNothing) {
    TempFolder folder;
    Wavetable a = NamedTable("Cancel", 9);
    const std::string path = folder.File("cancel.mid");
    WriteAll(path, MidiFileBytes(a));
    const Wavetable before = NewTable();
    for (const std::optional<std::size_t> choice :
         {std::optional<std::size_t>{}, std::optional<std::size_t>{5}}) {
        Wavetable table = before;
        Asked asked;
        const MidiImportResult r = ImportWavetableFromMidi(path, table, Prompts(asked, choice));
        EXPECT_FALSE(r.Imported);
        EXPECT_EQ(asked.Choices, 1);
        EXPECT_EQ(table, before);
    }
}

TEST(MidiImport, PassTwoTakesOnlyWaveEvents) {
    Wavetable a = NamedTable("Loose", 10);
    std::vector<std::uint8_t> bytes = Event(a, 0);
    std::vector<std::uint8_t> loose = Event(a, 1);
    loose[1] = 0x01;
    loose[2] = 0x02;
    Append(bytes, loose);
    Append(bytes, Event(a, 2));
    Wavetable table = NewTable();
    const Wavetable before = table;
    ByteReader reader(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
    const MidiCopy c = CopyWavetableFromMidi(reader, "Loose         ", table);
    EXPECT_EQ(c.Count, 2);
    EXPECT_EQ(c.ReportText(), "");
    EXPECT_TRUE(std::equal(table.Message(1), table.Message(1) + 410, a.Message(2)));
    EXPECT_TRUE(std::equal(table.Message(2), table.Message(2) + 410, before.Message(2)));
}

TEST(MidiScan, ShortCandidatesAndAnF7BeforeAnyF0AreSkipped) {
    // Bytes 1 and 2 of the file look like the length bytes and a name lies 17 bytes before
    // an F7, but no F0 came first.
    std::vector<std::uint8_t> bytes(30, 0x41);
    bytes[1] = 0x83;
    bytes[2] = 0x19;
    bytes[29] = 0xF7;
    // F0 83 19 ... F7 with the F7 16 bytes after the F0: too short for a name.
    std::vector<std::uint8_t> shortOne(17, 0x42);
    shortOne[0] = 0xF0;
    shortOne[1] = 0x83;
    shortOne[2] = 0x19;
    shortOne[16] = 0xF7;
    Append(bytes, shortOne);
    // F7 17 bytes after the F0: the shortest candidate with a name.
    std::vector<std::uint8_t> shortest(18, 0x43);
    shortest[0] = 0xF0;
    shortest[1] = 0x83;
    shortest[2] = 0x19;
    shortest[17] = 0xF7;
    Append(bytes, shortest);
    ByteReader reader(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
    const MidiNames found = ScanWavetableNames(reader);
    // The 18-byte candidate is a wave event too short to be whole: damaged, no name.
    EXPECT_TRUE(found.Names.empty());
    EXPECT_EQ(found.Skipped.Damaged, 1);
}

TEST(MidiScan, BytesBeyondTheBufferAreDroppedAndTheNextEventFound) {
    Wavetable a = NamedTable("After", 11);
    // A System Exclusive event far longer than the buffer, with a name-like run before its F7.
    std::vector<std::uint8_t> bytes = {0xF0, 0x83, 0x19};
    bytes.resize(5000, 0x44);
    for (std::size_t i = 0; i < 14; ++i)
        bytes[4983 + i] = static_cast<std::uint8_t>('L');
    bytes.push_back(0xF7);
    // Long note data without any F0.
    for (int i = 0; i < 100000; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i % 2 == 0 ? 0x90 : 0x40));
    Append(bytes, Event(a, 0));
    ByteReader reader(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
    const MidiNames found = ScanWavetableNames(reader);
    EXPECT_EQ(found.Names, std::vector<std::string>{"After         "});
}

TEST(MidiScan, CandidateEndingAtTheLastBufferPositionStillCounts) {
    // F0 83 19, then bytes up to position 1,023 where the F7 lies.
    std::vector<std::uint8_t> edge(1024, 0x45);
    edge[0] = 0xF0;
    edge[1] = 0x83;
    edge[2] = 0x19;
    edge[1023] = 0xF7;
    std::vector<std::uint8_t> beyond(1025, 0x46);
    beyond[0] = 0xF0;
    beyond[1] = 0x83;
    beyond[2] = 0x19;
    beyond[1024] = 0xF7;
    std::vector<std::uint8_t> bytes = edge;
    Append(bytes, beyond);
    ByteReader reader(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
    const MidiNames found = ScanWavetableNames(reader);
    // A candidate, but no whole wave event.
    EXPECT_TRUE(found.Names.empty());
    EXPECT_EQ(found.Skipped.Damaged, 1);
}

// The scan written out byte by byte, straight from its description, with the buffer bounds:
// bytes at or beyond the buffer's size are dropped, and a candidate needs an F0 before it and
// at least 18 bytes.
struct ReferenceCandidate {
    std::size_t End;
    ScanBuffer Buffer;
};

std::vector<ReferenceCandidate> ReferenceScan(const std::vector<std::uint8_t> &bytes) {
    std::vector<ReferenceCandidate> out;
    ScanBuffer buffer{};
    std::size_t index = 0;
    bool started = false;
    for (const std::uint8_t b : bytes) {
        if (b == 0xF0) {
            index = 0;
            buffer[0] = 0xF0;
            started = true;
        } else if (b == 0xF7) {
            if (index < buffer.size()) {
                buffer[index] = 0xF7;
                if (started && index >= 17)
                    out.push_back({index, buffer});
            }
        } else if (index < buffer.size()) {
            buffer[index] = b;
        }
        ++index;
    }
    return out;
}

class RecordingSink final : public CandidateSink {
public:
    bool Candidate(const ScanBuffer &buffer, std::size_t end) override {
        Seen.push_back({end, buffer});
        return true;
    }
    std::vector<ReferenceCandidate> Seen;
};

TEST(MidiScan, AgreesWithTheByteByByteScanOnRandomInput) {
    std::mt19937 random(12345);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Mostly 7-bit data with F0 and F7 sprinkled at different densities, so that
        // candidates of every length and runs past the buffer occur.
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(random() % 20000));
        const unsigned density = 1 + random() % 1500;
        for (std::uint8_t &b : bytes) {
            const unsigned r = random() % density;
            b = r == 0 ? 0xF0 : (r == 1 ? 0xF7 : static_cast<std::uint8_t>(random() % 256));
        }
        const std::vector<ReferenceCandidate> expected = ReferenceScan(bytes);
        for (const std::size_t block : {1u, 7u, 16u, 413u, 65536u}) {
            SCOPED_TRACE("block " + std::to_string(block));
            std::istringstream in(std::string(bytes.begin(), bytes.end()));
            ByteReader reader(StreamSource(in), block);
            RecordingSink sink;
            ScanSysEx(reader, sink);
            ASSERT_EQ(sink.Seen.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(sink.Seen[i].End, expected[i].End) << "candidate " << i;
                ASSERT_EQ(sink.Seen[i].Buffer, expected[i].Buffer) << "candidate " << i;
            }
        }
    }
}

TEST(MidiScan, CandidateNameIsTheFourteenBytesEndingFourBeforeTheF7) {
    Wavetable a = NamedTable("Named wave 14!", 12);
    const std::vector<std::uint8_t> e = Event(a, 0);
    ScanBuffer buffer{};
    std::copy(e.begin(), e.begin() + 412, buffer.begin());
    EXPECT_EQ(buffer[411], 0xF7);
    EXPECT_EQ(CandidateName(buffer, 411), "Named wave 14!");
    EXPECT_EQ(CandidateName(buffer, 16), "");
    EXPECT_EQ(CandidateName(buffer, 1024), "");
}

} // namespace
} // namespace morvane::files
