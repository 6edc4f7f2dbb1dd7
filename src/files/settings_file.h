#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The settings file that the audio and MIDI sections share: where it lives, reading it whole,
// and replacing one section of it. Each section's keys are its owner's (audio/, midi/).
namespace morvane::files {

inline constexpr std::string_view kSettingsFileName = "morvane.ini";

// Where the settings file lives: "morvane.ini" beside the executable when one exists there or
// that folder is writable (a portable install); otherwise $XDG_CONFIG_HOME/morvane/morvane.ini,
// with ~/.config when XDG_CONFIG_HOME is unset, empty or relative. Empty strings stand for unset
// variables. A program in `installedFolder` (the bin folder it was built to be installed in) is
// an installed one, not a portable one, however writable its folder is (for root it is): it
// keeps its settings in the configuration folder unless a morvane.ini was put beside it.
std::filesystem::path SettingsFilePath(const std::filesystem::path &executableFolder,
                                       const std::string &xdgConfigHome, const std::string &home,
                                       const std::filesystem::path &installedFolder = {});
// The same for this process: its executable's folder and its environment.
std::filesystem::path DefaultSettingsFilePath();
std::filesystem::path ExecutableFolder();

// The most a settings file may hold; a larger one is not read.
inline constexpr std::uint64_t kMaxSettingsBytes = std::uint64_t{1} << 20;

using IniKeyValues = std::vector<std::pair<std::string, std::string>>;

// The text of the settings file, or an empty text when it is absent or cannot be read (a
// folder, a FIFO, a device, a file without permission or larger than kMaxSettingsBytes): such
// a file is treated as absent, and nothing waits on it.
std::string ReadSettingsText(const std::filesystem::path &path);
// Sets the keys of one section (WriteIniValues) and replaces the file through the one atomic
// writer, creating the folder when missing. A link is followed. A path that names anything but
// a regular file, or a file whose text cannot be read (its other sections would be lost), is
// left alone. Throws Error("Unable to write to <path>").
void WriteSettingsSection(const std::filesystem::path &path, std::string_view section,
                          const IniKeyValues &values);

// The INI text handling behind the sections, on whole texts. Section and key names match without
// regard to case; the first matching section and, within it, the first matching key count;
// lines beginning with ';' or '#' are comments.
std::optional<std::string> ReadIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);
// Sets each key of `values` in `section`: an existing key line is rewritten in place, a missing
// key is added after the section's last entry, in the order given; a missing section is added
// at the end of the text. Line endings follow the text's first line ("\n" for a new text).
std::string WriteIniValues(std::string_view text, std::string_view section,
                           const IniKeyValues &values);

} // namespace morvane::files
