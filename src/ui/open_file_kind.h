#pragma once

#include <cstdint>
#include <span>
#include <string>

// Which command opens a file that comes from outside the program's own dialogs: a file named
// on the command line, dropped on the window, or chosen from the recent list.
namespace morvane::ui {

enum class OpenKind {
    Wavetable, // "Load wavetable": System Exclusive messages (".syx")
    Midi,      // "Import wavetable from midi": a Standard MIDI File
    OwnWave,   // "Import wave to wavetable": Morvane's own ".wav" export
    Audio,     // "Import audio or wavetable ...": any other audio or wavetable file
};

// By the name first: ".syx" and ".mid"/".midi" (any letter case) are what they say, as a user
// who named them means. Any other file by its first bytes (`head`, up to the whole own-WAV
// length and one more): "MThd" a MIDI file, Morvane's own WAV by all its bytes, F0 a message
// dump; the rest goes to the audio import, which tells what it can not read.
OpenKind OpenKindOf(const std::string &path, std::span<const std::uint8_t> head);
// The same, reading the head from the file; a file that can not be read is judged by its name
// alone, so that the command it goes to reports the error as usual.
OpenKind OpenKindOfFile(const std::string &path);

} // namespace morvane::ui
