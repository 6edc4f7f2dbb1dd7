#pragma once

#include <array>
#include <string>

#include "document/wave_message.h"

namespace morvane::edit {

// The undo history: 200 snapshots of the whole table, allocated once. Slots form a ring, so
// that a push on a full history drops the oldest snapshot in constant time instead of moving
// 199 tables; positions and counts are the 1-based numbers users see.
class HistoryStack {
public:
    static constexpr int kDepth = 200;

    // Both counters to 0 (start-up and "new wavetable").
    void Reset();
    // Stores a copy of the table as the new current state; discards the redo states.
    void HistoryPush(const Wavetable &table);
    // The state before the current one, or nullptr at position 1 (nothing changes then).
    const Wavetable *HistoryUndo();
    // The state after the current one, or nullptr at the last reachable one.
    const Wavetable *HistoryRedo();

    int HistoryPosition() const { return position_; }
    int HistoryCount() const { return count_; }
    // "History: P / C"
    std::string Caption() const;

private:
    Wavetable &Slot(int number) {
        return slots_[static_cast<std::size_t>((base_ + number - 1) % kDepth)];
    }

    std::array<Wavetable, kDepth> slots_{};
    int base_ = 0; // ring index of slot number 1
    int position_ = 0;
    int count_ = 0;
};

} // namespace morvane::edit
