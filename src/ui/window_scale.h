#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace morvane::ui {

// The window scale the user chose under Tools › Window scale, in percent of the window's design
// size; kFollowDesktop leaves the size to the desktop's own scale. It is kept in the settings
// file, section [View], key WindowScale, and applied when the program starts, since Qt fixes
// its scale factor before the first window exists.
inline constexpr int kFollowDesktop = 0;
inline constexpr std::array<int, 6> kWindowScales{100, 125, 150, 200, 250, 300};
inline constexpr const char *kViewSection = "View";

// The scale in the settings file at `path`; kFollowDesktop when the file, the key or a valid
// value (one of kWindowScales, or 0) is missing.
int LoadWindowScale(const std::filesystem::path &path);
// Writes the scale into the settings file, keeping every other line; the new text replaces the
// file only once fully written. Throws Error("Unable to write to <path>").
void SaveWindowScale(int percent, const std::filesystem::path &path);

// The environment that makes Qt draw the window at `percent` whatever the desktop's own scale:
// the desktop's factor off, Qt's own factor set ("1.25"). None for kFollowDesktop.
std::vector<std::pair<std::string, std::string>> WindowScaleEnvironment(int percent);

// The message after a choice: "Window scale 150 %. This takes effect at the next start of
// Morvane."
std::string WindowScaleMessage(int percent);

} // namespace morvane::ui
