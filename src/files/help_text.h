#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane::files {

// The name of the help file, looked for without a folder (the process's current folder).
inline constexpr const char *kHelpFileName = "help.txt";
// The line appended to the help text each time no help file can be read.
inline constexpr const char *kHelpNotFound = "help.txt not found";

// The four lines the help dialog shows before any file is read.
std::vector<std::string> HelpBuiltInLines();

// The lines of a text file: split at CR LF, LF or CR, no empty line for a final line break.
// nullopt when the file cannot be opened or read.
std::optional<std::vector<std::string>> ReadTextLines(const std::string &path);

// Where the help file is looked for, in order: "help.txt" in the current folder, then the
// copy installed with the program, then the source tree's data folder (an uninstalled build).
std::vector<std::string> HelpFileCandidates();

// FormActivate of the help dialog: the lines of the first candidate that can be read replace
// lines; when none can be read, lines stay and "help.txt not found" is appended.
void LoadHelpLines(std::vector<std::string> &lines, const std::vector<std::string> &candidates);

} // namespace morvane::files
