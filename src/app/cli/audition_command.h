#pragma once

#include <string>
#include <vector>

// morvane-cli audition: one note of the table, played as the audition voice plays it, into a
// WAVE file of 32-bit floats.
namespace morvane::cli {

int AuditionCommand(int &argc, char **argv, const std::vector<std::string> &args);

} // namespace morvane::cli
