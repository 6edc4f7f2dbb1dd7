#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "document/wave_message.h"
#include "files/byte_reader.h"

namespace morvane::files {

// What a ".syx" load did. The caller builds the wave list, selects the slot and device id
// from the last message read (without writing them into the table) and shows the texts.
struct SyxLoadResult {
    int MessagesRead = 0;   // messages stored into waves 1.., at most 64
    int MessagesBeyond = 0; // further whole messages the file held, not stored
    int Damaged = 0;        // messages begun with F0 3E 13 that were not whole and well formed
    int EndsInside = 0;     // the number of the message the file ends inside; 0 when none
    WaveSet Overflow = 0;   // the waves stored with sample bytes of 80 hex or more
    // Bytes 5 and 3 of the last message stored; meaningful when MessagesRead >= 1.
    std::uint8_t LastSlot = 0;
    std::uint8_t LastDevice = 0;

    // The message that tells how many messages the file held beyond the 64 loaded; empty
    // when it held no more.
    std::string TooManyText() const;
    // What was loaded and what was skipped, and why: "24 wave messages were loaded. The file
    // ends inside message 25."; empty when every message was whole and playable.
    std::string ReportText() const;
};

// Takes the whole, well-formed wave messages (IsWellFormedWaveMessage) in file order into waves
// 1.. of the table, at most 64; messages whose sample bytes overflow are taken as they are and
// named in Overflow. Every other byte is skipped; a message begun with F0 3E 13 that is not well
// formed counts as damaged, one that the end of the file cuts short is named in EndsInside.
// Throws morvane::Error, with the table's waves possibly overwritten, when reading fails or the
// input holds no whole message.
SyxLoadResult LoadWavetable(ByteReader &reader, Wavetable &table);
// These change the table only when the load succeeds.
SyxLoadResult LoadWavetableFromStream(std::istream &in, Wavetable &table);
SyxLoadResult LoadWavetableFromFile(const std::string &path, Wavetable &table);

// The messages of wave numbers first..last (1..64) as they stand, 410 bytes each; empty when
// last < first.
std::vector<std::uint8_t> SyxBytes(const Wavetable &table, int first, int last);

// What the save writes: the header fields of the range stamped from the name field's text and
// the slot, the checksum byte of all 64 messages, then the range's messages.
struct SyxSaveRequest {
    int First = 1;         // trbMorphWaves1
    int Last = kWaveCount; // trbMorphWaves2
    std::string NameField; // edtName, not trimmed
    std::uint8_t Slot = kFirstSlot;
};

// Stamps and writes the range; the target is replaced only once the file is complete. Throws
// morvane::Error when the file cannot be written; the table is stamped in any case. The writing
// is the same for waves that hold overflow samples (see OverflowWaves).
void SaveWavetableToFile(const std::string &path, Wavetable &table, const SyxSaveRequest &request);
void SaveWavetableToStream(std::ostream &out, Wavetable &table, const SyxSaveRequest &request);

} // namespace morvane::files
