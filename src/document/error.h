#pragma once

#include <stdexcept>
#include <string>

namespace morvane {

// An error whose text is what the user sees, behind the prefix of the command that shows it
// ("Morph " + "Invalid floating point operation").
class Error : public std::runtime_error {
public:
    explicit Error(const std::string &text) : std::runtime_error(text) {}
};

} // namespace morvane
