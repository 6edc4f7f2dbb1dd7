#include "edit/overflow.h"

#include <algorithm>

namespace morvane::edit {

void WaveBackup::Save(const Wavetable &table, int waveIndex) {
    const std::uint8_t *begin = table.Message(waveIndex) + kBackupOffset;
    std::copy(begin, begin + kBackupSize, Bytes.begin());
}

void WaveBackup::Restore(Wavetable &table, int waveIndex) const {
    std::copy(Bytes.begin(), Bytes.end(), table.Message(waveIndex) + kBackupOffset);
}

void CheckOverflow(std::int32_t value, bool allowOverflow, bool &overflowFlag) {
    if (IsOutOfRange(value) && !allowOverflow)
        overflowFlag = true;
}

} // namespace morvane::edit
