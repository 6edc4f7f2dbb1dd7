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
    int MessagesBeyond = 0; // further messages the file held, not stored
    std::string Error;      // the error's text when reading failed, empty otherwise
    // Bytes 5 and 3 of the last message stored; meaningful when MessagesRead >= 1.
    std::uint8_t LastSlot = 0;
    std::uint8_t LastDevice = 0;

    // The message that tells how many messages the file held beyond the 64 loaded; empty
    // when it held no more.
    std::string TooManyText() const;
};

// Every byte F0 met between messages starts a message whose next 409 bytes are taken as they
// are; other bytes between messages are skipped. The n-th message goes into wave n; a message
// cut short by the end of the input still counts and keeps the bytes it had beyond the cut.
// Errors of reading end the load; what was read stays and the error's text is returned.
SyxLoadResult LoadWavetable(ByteReader &reader, Wavetable &table);
SyxLoadResult LoadWavetableFromStream(std::istream &in, Wavetable &table);
// Also reports a file that cannot be opened as an error text.
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
// morvane::Error when the file cannot be written; the table is stamped in any case.
void SaveWavetableToFile(const std::string &path, Wavetable &table, const SyxSaveRequest &request);
void SaveWavetableToStream(std::ostream &out, Wavetable &table, const SyxSaveRequest &request);

} // namespace morvane::files
