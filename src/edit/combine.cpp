#include "edit/combine.h"

#include <algorithm>

#include "document/wave_message.h"
#include "edit/extended.h"

namespace morvane::edit {

std::int32_t Combine(CombineMode mode, std::int32_t value, std::int32_t existing) {
    switch (mode) {
    case CombineMode::Add:
        return Wrap32(std::int64_t{value} + existing);
    case CombineMode::Sub:
        return Wrap32(std::int64_t{existing} - value);
    case CombineMode::Or:
        return value | existing;
    case CombineMode::And:
        return value & existing;
    case CombineMode::Xor:
        return value ^ existing;
    case CombineMode::Multi: {
        constexpr Extended kScale = kFullScale;
        // In exact arithmetic 8 * value * existing / 2,097,150; the order of the steps is kept.
        return FloorToInt32(value / kScale * (existing / kScale) * kScale * 8);
    }
    case CombineMode::Min:
        return std::min(value, existing);
    case CombineMode::Max:
        return std::max(value, existing);
    case CombineMode::Replace:
        break;
    }
    return value;
}

} // namespace morvane::edit
