#include "ui/window_scale.h"

#include <algorithm>
#include <optional>

#include "document/decimal.h"
#include "files/settings_file.h"

namespace morvane::ui {

namespace fs = std::filesystem;

namespace {
constexpr const char *kScaleKey = "WindowScale";

bool Offered(int percent) {
    return percent == kFollowDesktop ||
           std::find(kWindowScales.begin(), kWindowScales.end(), percent) != kWindowScales.end();
}

} // namespace

int LoadWindowScale(const fs::path &path) {
    const std::optional<std::string> value =
        files::ReadIniValue(files::ReadSettingsText(path), kViewSection, kScaleKey);
    const std::optional<std::int32_t> percent = value ? ParseDecimal(*value) : std::nullopt;
    return percent && Offered(*percent) ? *percent : kFollowDesktop;
}

void SaveWindowScale(int percent, const fs::path &path) {
    files::WriteSettingsSection(path, kViewSection,
                                {{kScaleKey, std::to_string(Offered(percent) ? percent : 0)}});
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
