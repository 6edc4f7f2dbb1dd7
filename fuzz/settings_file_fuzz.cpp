// The settings file over any text: loading never fails, saving keeps every other line of the
// file and every other section's values, a saved setting reads back as written, and a second
// save of the same settings writes the same bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "audio/audio_settings_file.h"
#include "files/settings_file.h"
#include "fuzz_support.h"

namespace {

using namespace morvane;
namespace fs = std::filesystem;

const fs::path &SettingsPath() {
    static const fs::path path = fuzz::ScratchFile("morvane-fuzz-settings");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const fs::path &path = SettingsPath();
    fuzz::WriteText(path, text);

    audio::AudioSettings loaded;
    loaded.WaveChannels = -7; // every field is set by the load
    audio::LoadAudioSettings(loaded, path);
    audio::AudioSettings again;
    audio::LoadAudioSettings(again, path);
    fuzz::Check(loaded == again);

    // Another section's first value, to see that the save leaves it alone.
    const std::optional<std::string> other = files::ReadIniValue(text, "MidiOutput", "MidiPort");

    audio::AudioSettings chosen = loaded;
    chosen.WaveSamplesPerSec = static_cast<std::int32_t>(size * 977 - 40000);
    chosen.WaveAudioDevice = size == 0 ? -1 : data[0] - 128;
    audio::SaveAudioSettings(chosen, path);
    const std::string saved = fuzz::ReadBack(path);
    // The text before the section is kept byte for byte.
    const std::size_t keptUpTo = std::min(text.find('['), text.size());
    fuzz::Check(saved.compare(0, keptUpTo, text, 0, keptUpTo) == 0);
    fuzz::Check(files::ReadIniValue(saved, "MidiOutput", "MidiPort") == other);

    audio::AudioSettings reread;
    audio::LoadAudioSettings(reread, path);
    fuzz::Check(reread == chosen);
    audio::SaveAudioSettings(chosen, path);
    fuzz::Check(fuzz::ReadBack(path) == saved);
    fs::remove(path);
    return 0;
}
