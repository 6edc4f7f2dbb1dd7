#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "document/error.h"
#include "document/wave_message.h"
#include "files/byte_reader.h"

namespace morvane::files {

// The exported Standard MIDI File: format 0, 384 ticks per quarter note, tempo 120, the 64
// messages as System Exclusive events one second (768 ticks) apart, a Marker "end" and End of
// Track.
inline constexpr std::size_t kMidiHeaderSize = 30;  // MThd chunk, MTrk header, tempo, delta 0
inline constexpr std::size_t kMidiEventSize = 414;  // F0, length 83 19, 409 bytes, delta 86 00
inline constexpr std::size_t kMidiTrailerSize = 10; // Marker "end", delta 0, End of Track
inline constexpr std::size_t kMidiFileSize =
    kMidiHeaderSize + kMidiEventSize * kWaveCount + kMidiTrailerSize; // 26,536 bytes
inline constexpr std::size_t kMidiTrackStart = 22; // the track length counts from here

// The file's bytes for the table as it stands (stamp it first).
std::vector<std::uint8_t> MidiFileBytes(const Wavetable &table);

// StampHeaders(1, 64) with the name field's text and the slot, FillChecksums, then the file.
// The target is replaced only once the file is complete; throws morvane::Error on failure.
void WriteMidiFile(const std::string &path, Wavetable &table, const std::string &nameField,
                   std::uint8_t slot);
void WriteMidiToStream(std::ostream &out, Wavetable &table, const std::string &nameField,
                       std::uint8_t slot);

// The import's byte scan. A candidate is the run of bytes from an F0 up to the next F7; its
// bytes are kept in a buffer of kScanBufferSize bytes (bytes beyond the buffer are dropped),
// and only candidates that lie wholly inside the buffer and are long enough to hold a name
// reach the pass: e, the F7's position, is within kMinCandidateEnd..kScanBufferSize - 1.
inline constexpr std::size_t kScanBufferSize = 1024;
inline constexpr std::size_t kNameBeforeEnd = 17; // the name is buffer[e - 17 .. e - 4]
inline constexpr std::size_t kMinCandidateEnd = kNameBeforeEnd;
// An exported event: F0, 83 19 (409 as a variable-length quantity), message bytes 1..409.
inline constexpr std::uint8_t kWaveEventLength1 = 0x83;
inline constexpr std::uint8_t kWaveEventLength2 = 0x19;
inline constexpr std::size_t kEventMessageOffset = 3; // message byte 1 lies at buffer[3]

using ScanBuffer = std::array<std::uint8_t, kScanBufferSize>;

// Receives the candidates of a scan; the buffer holds the bytes of the candidate from
// buffer[0] = F0 to buffer[end] = F7 (and leftovers of earlier candidates beyond).
class CandidateSink {
public:
    virtual ~CandidateSink() = default;
    // Returns false to end the scan early.
    virtual bool Candidate(const ScanBuffer &buffer, std::size_t end) = 0;
};

// Runs the byte scan over the whole input. Read errors propagate as morvane::Error. Returns
// whether the input ends inside a candidate that began as a wave event (F0 83 19).
bool ScanSysEx(ByteReader &reader, CandidateSink &sink);

// The candidate's 14 name bytes as text, spaces included.
std::string CandidateName(const ScanBuffer &buffer, std::size_t end);

// A wave event is taken only when it is whole and its message well formed: F0, the length
// bytes 83 19, the message's bytes 1..409 with F7 as the last (end == kWaveEventEnd), and
// IsWellFormedWaveMessage. A candidate with the length bytes that fails is damaged.
inline constexpr std::size_t kWaveEventEnd = kEventMessageOffset + kMessageSize - 2; // 411
enum class EventCheck { NotWaveEvent, Damaged, WellFormed };
EventCheck CheckWaveEvent(const ScanBuffer &buffer, std::size_t end);

// What a scan skipped, in the words of the .syx load's report.
struct MidiSkipped {
    int Events = 0;     // whole, well-formed wave events met, of any name
    int Damaged = 0;    // wave events that were not whole and well formed
    int EndsInside = 0; // the number of the wave event the file ends inside; 0 when none
    // " The file ends inside message 25. 3 damaged messages were skipped."; empty when
    // nothing was skipped.
    std::string Text() const;
};

// Pass 1: the distinct names of the wave events in the order first met; names that differ
// only in letter case count as one, under the form met first. Read errors throw.
struct MidiNames {
    std::vector<std::string> Names;
    MidiSkipped Skipped;
};
MidiNames ScanWavetableNames(ByteReader &reader);

// Pass 2: copies the wave events whose name equals the chosen one exactly into waves 1.., at
// most 64. Read errors throw, with the waves copied so far in the table.
struct MidiCopy {
    int Count = 0;
    MidiSkipped Skipped;
    WaveSet Overflow = 0; // waves copied with sample bytes of 80 hex or more
    // Bytes 5 and 3 of the last message copied; meaningful when Count >= 1.
    std::uint8_t LastSlot = 0;
    std::uint8_t LastDevice = 0;
    // What the window's box says: how many were loaded and what was skipped, and why, and
    // the waves the instrument cannot take; empty when there is nothing to say.
    std::string ReportText() const;
};
MidiCopy CopyWavetableFromMidi(ByteReader &reader, const std::string &chosenName, Wavetable &table);

// What the import asks the user: the choice among the names found (nullopt when the selector
// was cancelled or confirmed with nothing selected).
struct MidiImportPrompts {
    std::function<std::optional<std::size_t>(const std::vector<std::string> &)> Choose;
};

// A file that holds no wavetable: the text ("No wavetable in file." and what was skipped) is
// shown as it is, without the command's prefix, since nothing went wrong in reading it.
class NoWavetableInFile : public Error {
public:
    using Error::Error;
};

struct MidiImportResult {
    bool Imported = false; // false: the import stopped and nothing changed
    MidiCopy Copy;
};

// The two-pass import of a file: pass 1 collects the names, the user chooses one, pass 2
// copies its messages. The table changes only when a wavetable was copied. A file that holds
// no wavetable throws NoWavetableInFile; a file that cannot be opened or read throws
// morvane::Error; either way the table stays as it was.
MidiImportResult ImportWavetableFromMidi(const std::string &path, Wavetable &table,
                                         const MidiImportPrompts &prompts);

} // namespace morvane::files
