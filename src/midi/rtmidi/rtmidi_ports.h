#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include <RtMidi.h>

#include "document/error.h"
#include "midi/midi_out.h"

// What the RtMidi output and input share: the APIs asked, why one cannot be used, the port
// list, and one RtMidi object with its reports turned into morvane::Error. Internal to the
// RtMidi backend.
namespace morvane::midi::rtmidi {

inline constexpr const char *kClientName = "Morvane";

enum class Direction { Output, Input };

// libjack prints to the console whenever a client cannot be opened; RtMidi reports the same as
// text, which is what the user sees. Once per process.
void QuietenJack();

// The APIs RtMidi was built with, without its dummy.
std::vector<RtMidi::Api> SystemApis();
// Why the API cannot be used now (no ALSA sequencer, no JACK server), or an empty text.
std::string Unavailable(RtMidi::Api api);
// The API's title for people ("ALSA", "JACK").
std::string ApiTitle(RtMidi::Api api);

// One RtMidi output or input with its reports caught: RtMidi hands errors and warnings (a full
// buffer, a server that is not running) to the callback instead of the console or an
// exception, and the next call turns them into morvane::Error.
class Client {
public:
    Client(RtMidi::Api api, Direction direction);
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    RtMidi::Api Api() const { return api_; }
    RtMidi &Midi() { return *midi_; }

    std::vector<std::string> PortNames();
    // Opens port number `index` under our own port name `ownPortName`.
    void Open(unsigned index, const std::string &ownPortName);
    void Close();

    // Runs `f` on the RtMidi object; a report it made or an exception it threw comes out as
    // morvane::Error.
    template <typename F> std::invoke_result_t<F> Call(F &&f) {
        pending_.clear();
        try {
            auto result = f();
            if (!pending_.empty())
                throw Error(pending_);
            return result;
        } catch (const RtMidiError &e) {
            throw Error(e.getMessage());
        }
    }

private:
    static void Report(RtMidiError::Type type, const std::string &text, void *self);

    RtMidi::Api api_;
    // RtMidi's base class cannot be destroyed through, so each direction is owned as itself.
    std::unique_ptr<RtMidiOut> out_;
    std::unique_ptr<RtMidiIn> in_;
    RtMidi *midi_ = nullptr; // the one of them that exists
    std::string pending_;
};

// The ports of every API that answers, in the direction asked; a line for each that cannot be
// asked.
MidiPortList ListPorts(Direction direction);

// A client of the port's API with the port's index in its list now. Throws Error when the API
// cannot be reached or the port is not there.
struct FoundPort {
    std::unique_ptr<Client> Owner;
    unsigned Index = 0;
};
FoundPort FindOpenablePort(const MidiPort &port, Direction direction);

// "The MIDI output port "NAME" is not available." and the like.
std::string Gone(Direction direction, const std::string &name, const std::string &how);

} // namespace morvane::midi::rtmidi
