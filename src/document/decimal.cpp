#include "document/decimal.h"

#include <charconv>
#include <system_error>

namespace morvane {

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    // std::from_chars takes a '-' but no '+', so a '+' is dropped first; a second sign after
    // it is then refused by from_chars like any other non-digit.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    std::int32_t value = 0;
    const char *const end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || ec != std::errc{} || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace morvane
