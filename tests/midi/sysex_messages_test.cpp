#include "midi/sysex_messages.h"

#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/error.h"

namespace morvane::midi {
namespace {

using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

Bytes SplitBack(const MessageList &messages) {
    Bytes all;
    for (const auto &m : messages)
        all.insert(all.end(), m.begin(), m.end());
    return all;
}

std::string ErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const Error &e) {
        return e.what();
    }
    return "no error";
}

TEST(SplitSysExFile, TakesEachMessageFromF0ToF7AndSkipsBytesBetween) {
    const Bytes file = {0x00, 0x41, 0xF0, 0x3E, 0x13, 0xF7, 0x90,
                        0x3C, 0xF0, 0x01, 0x02, 0x7F, 0xF7, 0xFE};
    const MessageList messages = SplitSysEx(file);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], (Bytes{0xF0, 0x3E, 0x13, 0xF7}));
    EXPECT_EQ(messages[1], (Bytes{0xF0, 0x01, 0x02, 0x7F, 0xF7}));
    // The shortest message, F0 F7, is still one.
    EXPECT_EQ(SplitSysEx(Bytes{0xF0, 0xF7}).size(), 1u);
}

TEST(SplitSysExFile, RefusesWhatMidiCannotCarry) {
    EXPECT_EQ(ErrorOf([] { SplitSysEx(Bytes{}); }), "The file holds no System Exclusive message.");
    EXPECT_EQ(ErrorOf([] {
                  SplitSysEx(Bytes{0x90, 0x3C, 0x40, 0xF7});
              }),
              "The file holds no System Exclusive message.");
    EXPECT_EQ(ErrorOf([] {
                  SplitSysEx(Bytes{0xF0, 0x01, 0xF7, 0xF0, 0x01, 0x02});
              }),
              "The file ends inside Message 2 (no F7).");
    EXPECT_EQ(ErrorOf([] {
                  SplitSysEx(Bytes{0xF0, 0x01, 0xF0, 0x02, 0xF7});
              }),
              "Message 1 holds the byte F0 hex at its byte 2, which MIDI cannot carry inside a "
              "System Exclusive message.");
    EXPECT_THAT(ErrorOf([] {
                    SplitSysEx(Bytes{0xF0, 0x01, 0x02, 0xC5, 0xF7});
                }),
                HasSubstr("byte C5 hex at its byte 3"));
}

struct StampedFixture : ::testing::Test {
    Wavetable table;
    StampedFixture() { FillNewWavetable(table, 5); }

    // What "SaveSelcWT(syx)" writes for the same request, on a copy of its own.
    Bytes SavedBytes(const files::SyxSaveRequest &request) const {
        Wavetable copy = table;
        std::ostringstream out;
        files::SaveWavetableToStream(out, copy, request);
        const std::string text = out.str();
        return Bytes(text.begin(), text.end());
    }
};

TEST_F(StampedFixture, AWholeTableIsTheSyxSaveCutInto64MessagesAndTheDocumentStaysAsItWas) {
    table.Message(17)[kOffsetChecksum] = 0x12; // a loaded message keeps any byte there
    const Wavetable before = table;
    const files::SyxSaveRequest request{1, 64, "Soft Pads", 95};

    const MessageList messages = StampedSelection(table, request);

    EXPECT_EQ(table, before);
    ASSERT_EQ(messages.size(), 64u);
    EXPECT_EQ(SplitBack(messages), SavedBytes(request));
    for (std::size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE(i);
        const Bytes &m = messages[i];
        ASSERT_EQ(m.size(), 410u);
        EXPECT_EQ(m[0], 0xF0);
        EXPECT_EQ(m[1], 0x3E);
        EXPECT_EQ(m[2], 0x13);
        EXPECT_EQ(m[3], 5);
        EXPECT_EQ(m[4], 0x12);
        EXPECT_EQ(m[5], 95);
        EXPECT_EQ(m[6], i);
        EXPECT_EQ(std::string(m.begin() + 392, m.begin() + 406), "Soft Pads     ");
        EXPECT_EQ(m[408], 0x7F);
        EXPECT_EQ(m[409], 0xF7);
    }
}

TEST_F(StampedFixture, ASubRangeCarriesItsOwnWaveNumbers) {
    const files::SyxSaveRequest request{5, 10, " lead", 80};
    const MessageList messages = StampedSelection(table, request);
    ASSERT_EQ(messages.size(), 6u);
    EXPECT_EQ(SplitBack(messages), SavedBytes(request));
    for (std::size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i][6], 4 + i);
        // Not trimmed, as the save stamps it.
        EXPECT_EQ(std::string(messages[i].begin() + 392, messages[i].begin() + 406),
                  " lead         ");
    }
    EXPECT_EQ(table.Message(4)[kOffsetSlot], 0); // a new table's slot byte, untouched
}

TEST_F(StampedFixture, AWaveHoldingANonDataByteIsRefusedByItsNumber) {
    // A sample stored beyond the 21-bit range (overflow allowed) gives a high byte C0..FF.
    table.SamplePtr(6, 3)[0] = 0xC1;
    EXPECT_EQ(ErrorOf([&] {
                  StampedSelection(table, {1, 64, "x", 80});
              }),
              "Wave 7 holds the byte C1 hex at its byte 17, which MIDI cannot carry inside a "
              "System Exclusive message.");
    // Outside the selection it does not matter.
    EXPECT_EQ(StampedSelection(table, {8, 64, "x", 80}).size(), 57u);

    Wavetable loaded = table;
    loaded.Message(9)[kOffsetEnd] = 0x00; // a message cut short by the end of its file
    EXPECT_EQ(ErrorOf([&] {
                  StampedSelection(loaded, {8, 64, "x", 80});
              }),
              "Wave 10 does not end with F7.");
}

TEST_F(StampedFixture, AnEmptySelectionIsRefused) {
    EXPECT_EQ(ErrorOf([&] {
                  StampedSelection(table, {10, 9, "x", 80});
              }),
              "The wave selection holds no wave.");
}

} // namespace
} // namespace morvane::midi
