#include "edit/extended.h"

#include <cmath>
#include <limits>

#include "document/error.h"

namespace morvane::edit {

std::int32_t FloorToInt32(long double value) {
    const long double f = std::floor(value);
    constexpr auto kLow = static_cast<long double>(std::numeric_limits<std::int32_t>::min());
    constexpr auto kHigh = static_cast<long double>(std::numeric_limits<std::int32_t>::max());
    if (!(f >= kLow && f <= kHigh)) // also true for NaN
        throw Error(kInvalidFloatingPointOperation);
    return static_cast<std::int32_t>(f);
}

} // namespace morvane::edit
