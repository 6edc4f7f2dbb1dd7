#pragma once

#include <string>
#include <string_view>

namespace morvane {

// The separator of the platform's paths. The title and label helpers work on it exactly as
// the Windows original worked on the backslash; tests pass '\\' to keep those examples.
inline constexpr char kPathSeparator = '/';

// The window title while no file is named; with a file it is followed by " - " and the path
// with its file name first.
inline constexpr std::string_view kProgramTitle = "Waldorf Blofeld Morvane 1.11 (free)";
// The file-name label's text before the path.
inline constexpr std::string_view kFileLabelPrefix = "SysEx filename: ";

// The characters of s in reverse order.
std::string ReverseString(std::string_view s);

// The components of a separator-separated path in reverse order, each spelled forwards and
// joined by the separator, so that the file name comes first: C:\Tables\Pads\soft.syx gives
// soft.syx\Pads\Tables\C:. Empty components stay.
std::string ReversePath(std::string_view path, char separator = kPathSeparator);

// One space before every separator, so that a word-wrapping label can break a long path at
// its folders: "SysEx filename: C: \Tables \soft.syx".
std::string SpaceBackslashes(std::string_view s, char separator = kPathSeparator);

// What UpdateTitle(path) shows: the window title and the caption of the file-name label.
std::string TitleForPath(std::string_view path, char separator = kPathSeparator);
std::string FileLabelForPath(std::string_view path, char separator = kPathSeparator);

// The path with its extension replaced by ext (".syx"), or ext appended when the file name
// has none. The extension is the part of the last component from its last dot on.
std::string ChangeFileExt(std::string_view path, std::string_view ext,
                          char separator = kPathSeparator);

} // namespace morvane
