#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvane::midi {

// One MIDI output port as the system lists it. A port is remembered by its API and its name,
// never by its position in the list: positions change whenever a device comes or goes.
struct MidiPort {
    std::string Api;      // the API's short name, as stored in the settings ("alsa", "jack")
    std::string ApiTitle; // the API's name for people ("ALSA", "JACK")
    std::string Name;     // the port's name as the API gives it

    friend bool operator==(const MidiPort &, const MidiPort &) = default;
};

// The title people know an API by, from its short name: "alsa" ALSA, "jack" JACK; another name
// stands for itself.
std::string ApiTitleOf(const std::string &api);

// What the port list shows for a port: "ALSA: Blofeld:Blofeld MIDI 1 20:0".
std::string PortLabel(const MidiPort &port);

// The result of listing: the ports of every API that answered, and one line for each API
// that could not be asked (no ALSA sequencer, no JACK server running), for the user to read.
struct MidiPortList {
    std::vector<MidiPort> Ports;
    std::vector<std::string> Unavailable;
};

// The MIDI output port: lists the system's output ports, opens one, sends complete messages
// to it. One object is used by one thread at a time; the paced sender uses it from the thread
// that sends. Every failure throws morvane::Error with a text for the user.
class MidiOut {
public:
    virtual ~MidiOut() = default;

    virtual MidiPortList Ports() = 0;
    // Opens the port (closing any port opened before). The port must be in the list now.
    virtual void Open(const MidiPort &port) = 0;
    // Sends one complete message (a whole System Exclusive message, F0 .. F7) to the open port.
    virtual void Send(std::span<const std::uint8_t> message) = 0;
    // Closes the open port after what was sent has left; nothing happens when none is open.
    virtual void Close() = 0;
};

// Finds the port the settings name in the current list: the same API and name first; then,
// because ALSA appends the client and port numbers ("20:0") that change when a device is
// plugged into another socket, the same API and name without those numbers. An empty API
// matches every API. None when the port is not there.
std::optional<MidiPort> FindPort(const std::vector<MidiPort> &ports, const std::string &api,
                                 const std::string &name);

// The name without a trailing ALSA address " CLIENT:PORT" (digits on both sides).
std::string WithoutAlsaAddress(const std::string &name);

// Makes the system's MIDI output (RtMidi in this program, a recording fake in tests).
using MidiOutFactory = std::function<std::unique_ptr<MidiOut>()>;

// A MIDI output with no ports at all, for a window given no MIDI system: the port list is
// empty, so a send ends with the port "not available", and nothing is ever sent.
std::unique_ptr<MidiOut> CreateNoMidiOut();

} // namespace morvane::midi
