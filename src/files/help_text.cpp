#include "files/help_text.h"

#include <filesystem>

#include "files/byte_reader.h"

namespace morvane::files {

std::vector<std::string> HelpBuiltInLines() {
    return {"Shortcuts:", " - Motionpath", "    Create new point = Click",
            "    Delete pont = Ctrl + Click or right click"};
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string &path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return std::nullopt;
    try {
        ByteReader reader(OpenFileSource(path));
        std::vector<std::string> lines;
        std::string line;
        bool open = false; // characters were read since the last line break
        bool afterCr = false;
        std::uint8_t b = 0;
        while (reader.ReadByte(b)) {
            if (b == '\n' && afterCr) {
                afterCr = false;
                continue;
            }
            afterCr = b == '\r';
            if (b == '\r' || b == '\n') {
                lines.push_back(std::move(line));
                line.clear();
                open = false;
            } else {
                line += static_cast<char>(b);
                open = true;
            }
        }
        if (open)
            lines.push_back(std::move(line));
        return lines;
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

std::vector<std::string> HelpFileCandidates() {
    std::vector<std::string> candidates{kHelpFileName};
#ifdef MORVANE_DATA_DIR
    candidates.push_back(std::string(MORVANE_DATA_DIR) + "/" + kHelpFileName);
#endif
#ifdef MORVANE_SOURCE_DATA_DIR
    candidates.push_back(std::string(MORVANE_SOURCE_DATA_DIR) + "/" + kHelpFileName);
#endif
    return candidates;
}

void LoadHelpLines(std::vector<std::string> &lines, const std::vector<std::string> &candidates) {
    for (const std::string &path : candidates) {
        if (std::optional<std::vector<std::string>> read = ReadTextLines(path)) {
            lines = std::move(*read);
            return;
        }
    }
    lines.emplace_back(kHelpNotFound);
}

} // namespace morvane::files
