#include "midi/rtmidi/rtmidi_ports.h"

#include <mutex>

#include <alsa/asoundlib.h>
#include <jack/jack.h>

namespace morvane::midi::rtmidi {

namespace {

void SilentJack(const char *) {}
void SilentAlsa(const char *, int, const char *, int, const char *, ...) {}

// Whether the ALSA sequencer can be opened at all; asked first because RtMidi prints its own
// complaint to the console when it cannot.
bool AlsaSequencerAvailable() {
    snd_lib_error_set_handler(SilentAlsa);
    snd_seq_t *seq = nullptr;
    const bool available = snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0) == 0;
    if (seq != nullptr)
        snd_seq_close(seq);
    snd_lib_error_set_handler(nullptr);
    return available;
}

// Whether a JACK server is running; asked first for the same reason, RtMidi warning on the
// console while its client is made.
bool JackServerRunning() {
    QuietenJack();
    jack_status_t status{};
    jack_client_t *client = jack_client_open("Morvane probe", JackNoStartServer, &status);
    if (client == nullptr)
        return false;
    jack_client_close(client);
    return true;
}

} // namespace

void QuietenJack() {
    static std::once_flag once;
    std::call_once(once, [] {
        jack_set_error_function(SilentJack);
        jack_set_info_function(SilentJack);
    });
}

std::vector<RtMidi::Api> SystemApis() {
    std::vector<RtMidi::Api> compiled;
    RtMidi::getCompiledApi(compiled);
    std::vector<RtMidi::Api> apis;
    for (RtMidi::Api api : compiled) {
        if (api != RtMidi::RTMIDI_DUMMY && api != RtMidi::UNSPECIFIED)
            apis.push_back(api);
    }
    return apis;
}

std::string Unavailable(RtMidi::Api api) {
    if (api == RtMidi::LINUX_ALSA && !AlsaSequencerAvailable())
        return "no ALSA sequencer is available.";
    if (api == RtMidi::UNIX_JACK && !JackServerRunning())
        return "no JACK server is running.";
    return {};
}

std::string ApiTitle(RtMidi::Api api) {
    const std::string name = RtMidi::getApiName(api);
    const std::string title = ApiTitleOf(name);
    return title == name ? RtMidi::getApiDisplayName(api) : title;
}

Client::Client(RtMidi::Api api, Direction direction) : api_(api) {
    if (api == RtMidi::UNIX_JACK)
        QuietenJack();
    try {
        if (direction == Direction::Output) {
            out_ = std::make_unique<RtMidiOut>(api, kClientName);
            midi_ = out_.get();
        } else {
            in_ = std::make_unique<RtMidiIn>(api, kClientName);
            midi_ = in_.get();
        }
    } catch (const RtMidiError &e) {
        throw Error(e.getMessage());
    }
    midi_->setErrorCallback(&Client::Report, this);
}

std::vector<std::string> Client::PortNames() {
    std::vector<std::string> names;
    const unsigned count = Call([&] { return midi_->getPortCount(); });
    for (unsigned i = 0; i < count; ++i)
        names.push_back(Call([&] { return midi_->getPortName(i); }));
    return names;
}

void Client::Open(unsigned index, const std::string &ownPortName) {
    Call([&] {
        midi_->openPort(index, ownPortName);
        return 0;
    });
}

void Client::Close() {
    Call([&] {
        midi_->closePort();
        return 0;
    });
}

void Client::Report(RtMidiError::Type type, const std::string &text, void *self) {
    if (type == RtMidiError::DEBUG_WARNING)
        return;
    auto *client = static_cast<Client *>(self);
    if (client->pending_.empty())
        client->pending_ = text;
}

MidiPortList ListPorts(Direction direction) {
    MidiPortList list;
    for (RtMidi::Api api : SystemApis()) {
        const std::string title = ApiTitle(api);
        if (const std::string why = Unavailable(api); !why.empty()) {
            list.Unavailable.push_back(title + ": " + why);
            continue;
        }
        try {
            Client client(api, direction);
            for (std::string &name : client.PortNames())
                list.Ports.push_back({RtMidi::getApiName(api), title, std::move(name)});
        } catch (const std::exception &e) {
            list.Unavailable.push_back(title + ": " + e.what());
        }
    }
    return list;
}

std::string Gone(Direction direction, const std::string &name, const std::string &how) {
    const char *kind = direction == Direction::Output ? "output" : "input";
    return std::string("The MIDI ") + kind + " port \"" + name + "\" " + how + ".";
}

FoundPort FindOpenablePort(const MidiPort &port, Direction direction) {
    const RtMidi::Api api = RtMidi::getCompiledApiByName(port.Api);
    if (api == RtMidi::UNSPECIFIED)
        throw Error("This program cannot reach MIDI ports through \"" + port.Api + "\".");
    if (const std::string why = Unavailable(api); !why.empty())
        throw Error(Gone(direction, port.Name, "is not available: " + why));
    FoundPort found;
    found.Owner = std::make_unique<Client>(api, direction);
    const std::vector<std::string> names = found.Owner->PortNames();
    while (found.Index < names.size() && names[found.Index] != port.Name)
        ++found.Index;
    if (found.Index == names.size())
        throw Error(Gone(direction, port.Name, "is not available"));
    return found;
}

} // namespace morvane::midi::rtmidi
