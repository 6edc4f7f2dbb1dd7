#include "edit/history.h"

namespace morvane::edit {

void HistoryStack::Reset() {
    position_ = 0;
    count_ = 0;
    base_ = 0;
}

void HistoryStack::HistoryPush(const Wavetable &table) {
    if (position_ >= kDepth) {
        // Full: the oldest snapshot goes, every other moves down one number.
        base_ = (base_ + 1) % kDepth;
    } else {
        ++position_;
        count_ = position_;
    }
    Slot(position_) = table;
}

const Wavetable *HistoryStack::HistoryUndo() {
    if (position_ <= 1)
        return nullptr;
    --position_;
    return &Slot(position_);
}

const Wavetable *HistoryStack::HistoryRedo() {
    if (position_ >= count_)
        return nullptr;
    ++position_;
    return &Slot(position_);
}

std::string HistoryStack::Caption() const {
    return "History: " + std::to_string(position_) + " / " + std::to_string(count_);
}

} // namespace morvane::edit
