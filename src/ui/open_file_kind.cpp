#include "ui/open_file_kind.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <vector>

#include "document/wave_message.h"
#include "files/wave_file.h"

namespace morvane::ui {

namespace {

std::string LowerExtension(const std::string &path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

OpenKind OpenKindOf(const std::string &path, std::span<const std::uint8_t> head) {
    const std::string ext = LowerExtension(path);
    if (ext == ".syx")
        return OpenKind::Wavetable;
    if (ext == ".mid" || ext == ".midi")
        return OpenKind::Midi;
    if (head.size() >= 4 && head[0] == 'M' && head[1] == 'T' && head[2] == 'h' && head[3] == 'd')
        return OpenKind::Midi;
    if (files::IsMorvaneWaveBytes(head))
        return OpenKind::OwnWave;
    if (!head.empty() && head[0] == kSysExStart)
        return OpenKind::Wavetable;
    return OpenKind::Audio;
}

OpenKind OpenKindOfFile(const std::string &path) {
    std::vector<std::uint8_t> head(files::kWaveFileSize + 1);
    std::size_t got = 0;
    // Only a regular file is read here: a FIFO or a device would hold the window up.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, ec))
        in.open(path, std::ios::binary);
    if (in.is_open()) {
        in.read(reinterpret_cast<char *>(head.data()), static_cast<std::streamsize>(head.size()));
        got = static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
    }
    return OpenKindOf(path, std::span<const std::uint8_t>(head.data(), got));
}

} // namespace morvane::ui
