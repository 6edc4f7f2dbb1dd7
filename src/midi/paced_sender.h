#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "document/cancel_flag.h"
#include "midi/midi_out.h"
#include "midi/sysex_messages.h"

namespace morvane::midi {

// The pause between two wave messages, in milliseconds. The default is the spacing of the
// exported MIDI file (768 ticks at 384 ticks per quarter and 120 beats per minute: one second),
// which the instrument is known to digest even over its USB port.
inline constexpr int kMinPauseMs = 20;
inline constexpr int kMaxPauseMs = 2000;
inline constexpr int kDefaultPauseMs = 1000;

// Any value into kMinPauseMs..kMaxPauseMs.
int ClampPause(int pauseMs);

// The time source of the pacing, replaceable in tests.
class PaceClock {
public:
    virtual ~PaceClock() = default;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    // Returns at the deadline (true) or earlier when the flag is raised (false).
    virtual bool WaitUntil(std::chrono::steady_clock::time_point deadline,
                           const CancelFlag &cancel) = 0;
};

class SystemPaceClock final : public PaceClock {
public:
    std::chrono::steady_clock::time_point Now() override;
    bool WaitUntil(std::chrono::steady_clock::time_point deadline,
                   const CancelFlag &cancel) override;
};

// How a send ended. Sent counts the messages the port accepted, the one in flight at a cancel
// included.
struct SendResult {
    int Sent = 0;
    int Total = 0;
    bool Cancelled = false;
    std::string Error; // what went wrong, empty when nothing did
    std::string PortName;

    bool Complete() const { return Error.empty() && !Cancelled && Sent == Total; }
};

// "Sending wave 3 of 64": the progress text while message number (1-based) goes out.
std::string ProgressText(int number, int total);
// "12 of 64 waves were sent." (the count that reached the port when a send stopped early).
std::string SentCountText(const SendResult &result);

// Called on the sending thread before message number (1-based) of total goes out.
using ProgressCallback = std::function<void(int number, int total)>;

// Finds the port by the settings' API and name among out.Ports(), opens it, sends the
// messages one at a time with at least pauseMs (clamped) between the end of one send and the
// start of the next, and closes the port. A raised flag stops the send after the message in
// flight (a pause in progress ends at once). No error escapes: each is reported in the
// result with the count sent before it. Runs on the calling thread until it ends.
SendResult SendPaced(MidiOut &out, const std::string &api, const std::string &portName,
                     const MessageList &messages, int pauseMs, PaceClock &clock,
                     const CancelFlag &cancel, const ProgressCallback &progress = {});

} // namespace morvane::midi
