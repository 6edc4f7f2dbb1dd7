#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

// The one rule for a whole number written as text, wherever Morvane reads one (the settings
// file, script words, command-line options): an optional sign, '+' or '-', then one or more
// decimal digits, and nothing else; the value must fit 32 bits. So "42", "+42" and "-42" are
// read, while "", "+-5", "--5", " 5", "5 ", "0x10" and "2147483648" are refused (none).
std::optional<std::int32_t> ParseDecimal(std::string_view text);

} // namespace morvane
