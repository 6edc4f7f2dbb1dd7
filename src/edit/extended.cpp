#include "edit/extended.h"

#include <limits>

#include "document/error.h"

namespace morvane::edit {

std::int32_t FloorToInt32(Extended value) {
    const Extended f = Floor(value);
    if (!(f >= std::numeric_limits<std::int32_t>::min() &&
          f <= std::numeric_limits<std::int32_t>::max()))
        throw Error(kInvalidFloatingPointOperation); // also for NaN
    return static_cast<std::int32_t>(TruncToInt64(f));
}

} // namespace morvane::edit
