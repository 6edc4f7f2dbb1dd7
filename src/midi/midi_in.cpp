#include "midi/midi_in.h"

#include "document/error.h"

namespace morvane::midi {

namespace {

class NoMidiIn final : public MidiIn {
public:
    MidiPortList Ports() override { return {}; }
    void Open(const MidiPort &port, MidiInReceiver &) override {
        throw Error("The MIDI input port \"" + port.Name + "\" is not available.");
    }
    void Close() override {}
};

} // namespace

std::unique_ptr<MidiIn> CreateNoMidiIn() {
    return std::make_unique<NoMidiIn>();
}

} // namespace morvane::midi
