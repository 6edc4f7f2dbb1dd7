#include "ui/window_scale.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <system_error>

#include "audio/settings_file.h"
#include "document/error.h"
#include "files/atomic_file.h"
#include "files/help_text.h"

namespace morvane::ui {

namespace fs = std::filesystem;

namespace {
constexpr const char *kScaleKey = "WindowScale";

bool Offered(int percent) {
    return percent == kFollowDesktop ||
           std::find(kWindowScales.begin(), kWindowScales.end(), percent) != kWindowScales.end();
}

std::optional<std::string> WholeText(const fs::path &path) {
    const std::optional<std::vector<std::string>> lines = files::ReadTextLines(path.string());
    if (!lines)
        return std::nullopt;
    std::string text;
    for (const std::string &line : *lines)
        text += line + "\n";
    return text;
}
} // namespace

int LoadWindowScale(const fs::path &path) {
    const std::optional<std::string> text = WholeText(path);
    if (!text)
        return kFollowDesktop;
    const std::optional<std::string> value = audio::ReadIniValue(*text, kViewSection, kScaleKey);
    if (!value || value->empty() || value->size() > 3 ||
        !std::all_of(value->begin(), value->end(), [](char c) { return c >= '0' && c <= '9'; }))
        return kFollowDesktop;
    const int percent = std::stoi(*value);
    return Offered(percent) ? percent : kFollowDesktop;
}

void SaveWindowScale(int percent, const fs::path &path) {
    const std::string shown = "Unable to write to " + path.string();
    std::error_code ec;
    std::string text;
    if (fs::exists(path, ec)) {
        // The other sections can only be kept when the file can be read.
        const std::optional<std::string> existing = WholeText(path);
        if (!existing)
            throw Error(shown);
        text = *existing;
    } else if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), ec);
    }
    const std::string newText = audio::WriteIniValues(
        text, kViewSection, {{kScaleKey, std::to_string(Offered(percent) ? percent : 0)}});
    try {
        files::WriteFileAtomically(
            path.string(),
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(newText.data()),
                                          newText.size()));
    } catch (const std::exception &) {
        throw Error(shown);
    }
}

std::vector<std::pair<std::string, std::string>> WindowScaleEnvironment(int percent) {
    if (percent == kFollowDesktop || !Offered(percent))
        return {};
    // 125 -> "1.25", 150 -> "1.5", 200 -> "2"
    std::string factor = std::to_string(percent / 100);
    if (percent % 100 != 0) {
        const int hundredths = percent % 100;
        factor += "." + std::string(hundredths < 10 ? "0" : "") + std::to_string(hundredths);
        while (factor.back() == '0')
            factor.pop_back();
    }
    return {{"QT_ENABLE_HIGHDPI_SCALING", "0"}, {"QT_SCALE_FACTOR", factor}};
}

std::string WindowScaleMessage(int percent) {
    const std::string scale = percent == kFollowDesktop
                                  ? "Window scale: follow the desktop"
                                  : "Window scale " + std::to_string(percent) + " %";
    return scale + ". This takes effect at the next start of Morvane.";
}

} // namespace morvane::ui
