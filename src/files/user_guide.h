#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane::files {

// The user guide: docs/guide.md with its pictures in docs/images/, installed with the program
// as <prefix>/share/morvane/docs/.
inline constexpr const char *kUserGuideFileName = "guide.md";

// Where the guide is looked for, in order: the installed copy beside the running program
// (<executable folder>/../share/morvane/docs), the source tree's docs folder (a build that is
// not installed), then the configured install prefix's copy.
std::vector<std::string> UserGuideCandidates(const std::string &executableFolder);

// The first candidate that is a readable file; nullopt when none is.
std::optional<std::string> FindUserGuide(const std::vector<std::string> &candidates);

// The text of the guide's first level-one heading ("# Morvane user guide" gives "Morvane user
// guide"); empty when the file cannot be read or has none.
std::string UserGuideTitle(const std::string &path);

} // namespace morvane::files
