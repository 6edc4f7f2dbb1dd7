// The MIDI output settings over any file and any port name: a load always gives a pause within
// range, a save reads back as written (line breaks in names as blanks), and it changes neither
// the audio settings nor the bytes before the section.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "audio/audio_settings_file.h"
#include "files/settings_file.h"
#include "fuzz_support.h"
#include "midi/midi_settings.h"
#include "midi/paced_sender.h"

namespace {

using namespace morvane;
namespace fs = std::filesystem;

const fs::path &SettingsPath() {
    static const fs::path path = fuzz::ScratchFile("morvane-fuzz-midi");
    return path;
}

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

constexpr const char *kAudioKeys[] = {"WaveAudioDevice", "WaveChannels", "WaveSamplesPerSec",
                                      "WaveBlockAlign", "WaveBitsPerSample"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte says how many of the last bytes are the port name to save.
    const std::size_t nameLength = std::min<std::size_t>(data[0], size - 1);
    const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1 - nameLength);
    const std::string port(reinterpret_cast<const char *>(data) + size - nameLength, nameLength);
    const fs::path &path = SettingsPath();
    fuzz::WriteText(path, text);

    const midi::MidiOutputSettings loaded = midi::LoadMidiOutputSettings(path);
    fuzz::Check(loaded.MidiPauseMs >= midi::kMinPauseMs && loaded.MidiPauseMs <= midi::kMaxPauseMs);
    fuzz::Check(midi::LoadMidiOutputSettings(path) == loaded);

    midi::MidiOutputSettings chosen = loaded;
    chosen.MidiPort = port;
    chosen.MidiPauseMs = static_cast<std::int32_t>(size) * 13 - 500;
    midi::SaveMidiOutputSettings(chosen, path);
    const std::string saved = fuzz::ReadBack(path);

    midi::MidiOutputSettings expected = chosen;
    expected.MidiApi = OneLine(expected.MidiApi);
    expected.MidiPort = OneLine(expected.MidiPort);
    expected.MidiPauseMs = midi::ClampPause(chosen.MidiPauseMs);
    fuzz::Check(midi::LoadMidiOutputSettings(path) == expected);
    for (const char *key : kAudioKeys)
        fuzz::Check(files::ReadIniValue(saved, audio::kAudioSection, key) ==
                    files::ReadIniValue(text, audio::kAudioSection, key));
    const std::size_t keptUpTo = std::min(text.find('['), text.size());
    fuzz::Check(saved.compare(0, keptUpTo, text, 0, keptUpTo) == 0);

    midi::SaveMidiOutputSettings(expected, path);
    fuzz::Check(fuzz::ReadBack(path) == saved);
    fs::remove(path);
    return 0;
}
