#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/wave_message.h"
#include "files/syx_file.h"

namespace morvane::midi {

// Complete System Exclusive messages, F0 .. F7, in the order they go out.
using MessageList = std::vector<std::vector<std::uint8_t>>;

// Splits a ".syx" file's bytes into its messages: each F0 starts one and the next F7 ends it;
// bytes between messages are skipped, as the loader skips them. Sending a message that MIDI
// cannot carry would leave the instrument's receiver inside a broken message, so the whole
// input is refused (morvane::Error, nothing sent) when a message has no F7 before the end or
// before the next F0, or holds another byte of 80 hex or more. An input without any message is
// refused too.
MessageList SplitSysEx(std::span<const std::uint8_t> bytes);

// SplitSysEx of a file's bytes. Throws morvane::Error when the file cannot be read or is larger
// than kMaxSyxFileSize, which no dump of this instrument comes near.
inline constexpr std::size_t kMaxSyxFileSize = 16 * 1024 * 1024;
MessageList ReadSyxMessages(const std::string &path);

// The messages "Send wavetable to synth" sends: the waves request.First..request.Last exactly
// as "SaveSelcWT(syx)" writes them, stamped with slot, wave number and name and with the
// checksum byte filled. The stamping is done on a copy: the document stays as it is. Throws
// morvane::Error naming the wave when a message is no valid System Exclusive message (a sample
// stored beyond the 21-bit range, or a message loaded from a damaged file), and when the range
// holds no wave.
MessageList StampedSelection(const Wavetable &table, const files::SyxSaveRequest &request);

} // namespace morvane::midi
