#include "midi/midi_out.h"

#include <cctype>

#include "document/error.h"

namespace morvane::midi {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

class NoMidiOut final : public MidiOut {
public:
    MidiPortList Ports() override { return {}; }
    void Open(const MidiPort &port) override {
        throw Error("The MIDI output port \"" + port.Name + "\" is not available.");
    }
    void Send(std::span<const std::uint8_t>) override {
        throw Error("No MIDI output port is open.");
    }
    void Close() override {}
};

} // namespace

std::string ApiTitleOf(const std::string &api) {
    if (api == "alsa")
        return "ALSA";
    if (api == "jack")
        return "JACK";
    return api;
}

std::string PortLabel(const MidiPort &port) {
    return port.ApiTitle.empty() ? port.Name : port.ApiTitle + ": " + port.Name;
}

std::string WithoutAlsaAddress(const std::string &name) {
    // Walk back over "DIGITS:DIGITS" and the blank before them.
    std::size_t i = name.size();
    const std::size_t portEnd = i;
    while (i > 0 && IsDigit(name[i - 1]))
        --i;
    if (i == portEnd || i == 0 || name[i - 1] != ':')
        return name;
    --i;
    const std::size_t clientEnd = i;
    while (i > 0 && IsDigit(name[i - 1]))
        --i;
    if (i == clientEnd || i == 0 || name[i - 1] != ' ')
        return name;
    return name.substr(0, i - 1);
}

std::optional<MidiPort> FindPort(const std::vector<MidiPort> &ports, const std::string &api,
                                 const std::string &name) {
    const auto apiMatches = [&](const MidiPort &port) { return api.empty() || port.Api == api; };
    for (const MidiPort &port : ports) {
        if (apiMatches(port) && port.Name == name)
            return port;
    }
    const std::string bare = WithoutAlsaAddress(name);
    for (const MidiPort &port : ports) {
        if (apiMatches(port) && WithoutAlsaAddress(port.Name) == bare)
            return port;
    }
    return std::nullopt;
}

std::unique_ptr<MidiOut> CreateNoMidiOut() {
    return std::make_unique<NoMidiOut>();
}

} // namespace morvane::midi
