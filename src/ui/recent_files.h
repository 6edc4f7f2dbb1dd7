#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

// The files used last, for "Open recent" in the File menu.
namespace morvane::ui {

inline constexpr int kRecentFileCount = 8;
inline constexpr std::string_view kRecentSection = "RecentFiles";
// Longer paths are no paths this system can open (PATH_MAX); a settings file that holds one
// was not written by us and the entry is skipped.
inline constexpr std::size_t kMaxRecentPathLength = 4096;

// Full paths, newest first, no path twice. Paths an INI line can not hold (line breaks) and
// empty ones are never listed.
struct RecentFiles {
    std::array<std::string, kRecentFileCount> Paths{};
    int Count = 0;

    // To the front; an entry already listed moves there; the oldest goes past eight.
    void Add(const std::string &path);
    // Takes the path off the list; false when it was not listed.
    bool Remove(const std::string &path);
    void Clear();

    friend bool operator==(const RecentFiles &, const RecentFiles &) = default;
};

bool IsListablePath(std::string_view path);

// Section "RecentFiles" of the settings file, keys File1 (newest) to File8. A missing file,
// section or key, an empty value and a path that can not be listed are skipped; a file that
// cannot be read is no error.
RecentFiles LoadRecentFiles(const std::filesystem::path &settingsFile);

// Writes all eight keys (unused ones empty, so that a shorter list leaves no old entry behind)
// the way the other sections are written: every other line of the file stays, and the new text
// replaces the file only once complete. Throws Error("Unable to write to <path>").
void SaveRecentFiles(const RecentFiles &recent, const std::filesystem::path &settingsFile);

} // namespace morvane::ui
