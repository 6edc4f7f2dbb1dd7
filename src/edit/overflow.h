#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "document/wave_message.h"

namespace morvane::edit {

// The log line of a wave the generator restored, and the text of the overflow message box of
// the moves and paste special.
inline constexpr char kOverflowMessage[] = "21 bit overflow error. You can allow overflow! -->";
// Amplify logs the same line without the arrow.
inline constexpr char kAmplifyOverflowMessage[] = "21 bit overflow error. You can allow overflow!";

// What an edit that checks overflow did, so that the window can run its tail.
struct EditResult {
    bool Overflow = false;             // the overflow flag when the edit ended
    std::vector<int> RestoredWaves;    // wave numbers (1..64) copied back from the backup
    std::vector<std::string> LogLines; // lines for the message log, in order
};

// One wave's bytes from message offset 7 to 407: the byte before the samples, the samples,
// the name and the two bytes after it. The window owns one for the whole run.
struct WaveBackup {
    std::array<std::uint8_t, kBackupSize> Bytes{};

    void Save(const Wavetable &table, int waveIndex);
    void Restore(Wavetable &table, int waveIndex) const;
};

// True when a stored value lies outside the 21-bit range -kMaxSample..kMaxSample.
constexpr bool IsOutOfRange(std::int32_t value) {
    return value < -kMaxSample || value > kMaxSample;
}

// Sets the overflow flag when the value just stored is out of range and overflow is not
// allowed; never clears it.
void CheckOverflow(std::int32_t value, bool allowOverflow, bool &overflowFlag);

} // namespace morvane::edit
