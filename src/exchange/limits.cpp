#include "exchange/limits.h"

#include <array>
#include <charconv>

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

std::string FixedDecimals(double value, int decimals) {
    std::array<char, 400> text{}; // room for the largest double in fixed notation
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "?";
    std::string out(text.data(), result.ptr);
    if (out.starts_with("-") && out.find_first_not_of("-0.") == std::string::npos)
        out.erase(0, 1);
    return out;
}

} // namespace morvane::exchange
