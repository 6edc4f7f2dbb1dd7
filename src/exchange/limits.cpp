#include "exchange/limits.h"

namespace morvane::exchange {

std::string GroupedNumber(std::uint64_t value) {
    std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

} // namespace morvane::exchange
