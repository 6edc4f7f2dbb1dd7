#include "files/settings_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <span>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "document/error.h"
#include "files/atomic_file.h"
#include "files/byte_reader.h"

namespace morvane::files {

namespace fs = std::filesystem;

namespace {

// One line of the file: its text without the terminator, and the terminator ("", "\n" or
// "\r\n") so that an untouched line is written back byte for byte.
struct IniLine {
    std::string Text;
    std::string End;
};

std::vector<IniLine> SplitLines(std::string_view text) {
    std::vector<IniLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string_view::npos) {
            lines.push_back({std::string(text.substr(start)), ""});
            break;
        }
        std::size_t end = newline;
        std::string terminator = "\n";
        if (end > start && text[end - 1] == '\r') {
            --end;
            terminator = "\r\n";
        }
        lines.push_back({std::string(text.substr(start, end - start)), terminator});
        start = newline + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v'; };
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section header line "[name]", or nothing.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.size() < 2 || t.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(t.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    const std::string_view t = Trim(line);
    return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// The key and the value of an entry line "key=value", or nothing.
std::optional<std::pair<std::string_view, std::string_view>> Entry(std::string_view line) {
    if (IsComment(line) || SectionName(line)) {
        return std::nullopt;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) {
        return std::nullopt;
    }
    return std::make_pair(key, Trim(line.substr(equals + 1)));
}

// Index of the first header of `section`, or lines.size().
std::size_t FindSection(const std::vector<IniLine> &lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].Text);
        if (name && EqualNoCase(*name, section)) {
            return i;
        }
    }
    return lines.size();
}

// One past the last line of the section whose header is at `header`.
std::size_t SectionEnd(const std::vector<IniLine> &lines, std::size_t header) {
    std::size_t i = header + 1;
    while (i < lines.size() && !SectionName(lines[i].Text)) {
        ++i;
    }
    return i;
}

[[noreturn]] void ThrowUnableToWrite(const fs::path &path) {
    throw Error("Unable to write to " + path.string());
}

} // namespace

std::optional<std::string> ReadIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
    const std::vector<IniLine> lines = SplitLines(text);
    const std::size_t header = FindSection(lines, section);
    if (header == lines.size()) {
        return std::nullopt;
    }
    const std::size_t end = SectionEnd(lines, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const auto entry = Entry(lines[i].Text);
        if (entry && EqualNoCase(entry->first, key)) {
            std::string_view value = entry->second;
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
    }
    return std::nullopt;
}

std::string WriteIniValues(std::string_view text, std::string_view section,
                           const IniKeyValues &values) {
    std::vector<IniLine> lines = SplitLines(text);
    std::string newline = "\n";
    for (const IniLine &line : lines) {
        if (!line.End.empty()) {
            newline = line.End;
            break;
        }
    }
    if (!lines.empty() && lines.back().End.empty()) {
        lines.back().End = newline; // the last line gets its terminator before anything follows
    }

    std::size_t header = FindSection(lines, section);
    if (header == lines.size()) {
        if (!lines.empty() && !Trim(lines.back().Text).empty()) {
            lines.push_back({"", newline});
        }
        lines.push_back({"[" + std::string(section) + "]", newline});
        header = lines.size() - 1;
    }
    for (const auto &[key, value] : values) {
        const std::size_t end = SectionEnd(lines, header);
        std::size_t insertAt = header + 1;
        bool replaced = false;
        for (std::size_t i = header + 1; i < end; ++i) {
            const auto entry = Entry(lines[i].Text);
            if (entry && EqualNoCase(entry->first, key)) {
                lines[i].Text = key + "=" + value;
                replaced = true;
                break;
            }
            if (!Trim(lines[i].Text).empty()) {
                insertAt = i + 1; // after the last entry or comment, before trailing blank lines
            }
        }
        if (!replaced) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                         IniLine{key + "=" + value, newline});
        }
    }

    std::string result;
    for (const IniLine &line : lines) {
        result += line.Text;
        result += line.End;
    }
    return result;
}

fs::path SettingsFilePath(const fs::path &executableFolder, const std::string &xdgConfigHome,
                          const std::string &home, const fs::path &installedFolder) {
    const fs::path beside = executableFolder / kSettingsFileName;
    std::error_code ec;
    const bool installed =
        !installedFolder.empty() &&
        fs::weakly_canonical(installedFolder, ec) == fs::weakly_canonical(executableFolder, ec);
    if (fs::exists(beside, ec) || (!installed && ::access(executableFolder.c_str(), W_OK) == 0)) {
        return beside;
    }
    fs::path config;
    if (!xdgConfigHome.empty() && fs::path(xdgConfigHome).is_absolute()) {
        config = xdgConfigHome;
    } else if (!home.empty()) {
        config = fs::path(home) / ".config";
    } else {
        return beside; // nowhere better to go; a save will report the failure
    }
    return config / "morvane" / kSettingsFileName;
}

fs::path ExecutableFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return fs::current_path(ec);
    }
    return executable.parent_path();
}

fs::path DefaultSettingsFilePath() {
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    return SettingsFilePath(ExecutableFolder(), xdg ? xdg : "", home ? home : "",
                            MORVANE_INSTALL_BIN_DIR);
}

std::string ReadSettingsText(const fs::path &path) {
    try {
        return files::ReadWholeFile(path.string(), kMaxSettingsBytes);
    } catch (const std::exception &) {
        return {};
    }
}

void WriteSettingsSection(const fs::path &path, std::string_view section,
                          const IniKeyValues &values) {
    std::string text;
    struct stat status {};
    // stat follows a link: the file it names is updated and the link stays (AtomicFile).
    if (::stat(path.c_str(), &status) == 0) {
        // Only a regular file is replaced, and only one whose other sections could be read.
        if (!S_ISREG(status.st_mode))
            ThrowUnableToWrite(path);
        try {
            text = files::ReadWholeFile(path.string(), kMaxSettingsBytes);
        } catch (const std::exception &) {
            ThrowUnableToWrite(path);
        }
    } else if (path.has_parent_path()) {
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
    }
    const std::string newText = WriteIniValues(text, section, values);
    try {
        files::WriteFileAtomically(
            path.string(),
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(newText.data()),
                                          newText.size()));
    } catch (const std::exception &) {
        ThrowUnableToWrite(path);
    }
}

} // namespace morvane::files
