#include "files/user_guide.h"

#include <filesystem>

#include "files/help_text.h"

namespace morvane::files {

namespace {
constexpr const char *kInstalledDocs = "share/morvane/docs"; // below the install prefix
} // namespace

std::vector<std::string> UserGuideCandidates(const std::string &executableFolder) {
    std::vector<std::string> candidates;
    if (!executableFolder.empty())
        candidates.push_back(
            (std::filesystem::path(executableFolder) / ".." / kInstalledDocs / kUserGuideFileName)
                .lexically_normal()
                .string());
#ifdef MORVANE_SOURCE_DOCS_DIR
    candidates.push_back(std::string(MORVANE_SOURCE_DOCS_DIR) + "/" + kUserGuideFileName);
#endif
#ifdef MORVANE_DATA_DIR
    candidates.push_back(std::string(MORVANE_DATA_DIR) + "/docs/" + kUserGuideFileName);
#endif
    return candidates;
}

std::optional<std::string> FindUserGuide(const std::vector<std::string> &candidates) {
    for (const std::string &path : candidates)
        if (ReadTextLines(path))
            return path;
    return std::nullopt;
}

std::string UserGuideTitle(const std::string &path) {
    const std::optional<std::vector<std::string>> lines = ReadTextLines(path);
    if (!lines)
        return {};
    for (const std::string &line : *lines)
        if (line.size() > 2 && line.compare(0, 2, "# ") == 0)
            return line.substr(2);
    return {};
}

} // namespace morvane::files
