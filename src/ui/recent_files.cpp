#include "ui/recent_files.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <sstream>
#include <system_error>

#include "document/error.h"
#include "files/atomic_file.h"
#include "files/settings_file.h"
#include "midi/midi_settings.h"

namespace morvane::ui {

namespace fs = std::filesystem;

namespace {

std::string KeyOf(int index) {
    return "File" + std::to_string(index + 1);
}

std::optional<std::string> ReadWholeFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return std::move(content).str();
}

} // namespace

bool IsListablePath(std::string_view path) {
    return !path.empty() && path.size() <= kMaxRecentPathLength &&
           path.find_first_of("\r\n") == std::string_view::npos;
}

void RecentFiles::Add(const std::string &path) {
    if (!IsListablePath(path))
        return;
    Remove(path);
    const int kept = std::min(Count, kRecentFileCount - 1);
    for (int i = kept; i > 0; --i)
        Paths[static_cast<std::size_t>(i)] = std::move(Paths[static_cast<std::size_t>(i - 1)]);
    Paths[0] = path;
    Count = kept + 1;
    for (int i = Count; i < kRecentFileCount; ++i)
        Paths[static_cast<std::size_t>(i)].clear();
}

bool RecentFiles::Remove(const std::string &path) {
    const auto end = Paths.begin() + Count;
    const auto found = std::find(Paths.begin(), end, path);
    if (found == end)
        return false;
    std::move(found + 1, end, found);
    --Count;
    Paths[static_cast<std::size_t>(Count)].clear();
    return true;
}

void RecentFiles::Clear() {
    *this = RecentFiles{};
}

RecentFiles LoadRecentFiles(const fs::path &settingsFile) {
    const std::string text = ReadWholeFile(settingsFile).value_or(std::string());
    RecentFiles recent;
    // Oldest first, so that the newest ends in front and a path listed twice counts once.
    for (int i = kRecentFileCount - 1; i >= 0; --i) {
        const auto value = files::ReadIniValue(text, kRecentSection, KeyOf(i));
        if (value)
            recent.Add(*value);
    }
    return recent;
}

void SaveRecentFiles(const RecentFiles &recent, const fs::path &settingsFile) {
    const std::string shown = "Unable to write to " + settingsFile.string();
    std::error_code ec;
    std::string text;
    if (fs::exists(settingsFile, ec)) {
        // The other sections can only be kept when the file can be read.
        const std::optional<std::string> existing = ReadWholeFile(settingsFile);
        if (!existing)
            throw Error(shown);
        text = *existing;
    } else if (settingsFile.has_parent_path()) {
        fs::create_directories(settingsFile.parent_path(), ec);
    }
    files::IniKeyValues values;
    for (int i = 0; i < kRecentFileCount; ++i)
        values.emplace_back(KeyOf(i),
                            i < recent.Count
                                ? midi::IniStringValue(recent.Paths[static_cast<std::size_t>(i)])
                                : std::string());
    const std::string newText = files::WriteIniValues(text, kRecentSection, values);
    try {
        files::WriteFileAtomically(
            settingsFile.string(),
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(newText.data()),
                                          newText.size()));
    } catch (const std::exception &) {
        throw Error(shown);
    }
}

} // namespace morvane::ui
