#include "midi/paced_sender.h"

#include <algorithm>

#include "document/error.h"

namespace morvane::midi {

int ClampPause(int pauseMs) {
    return std::clamp(pauseMs, kMinPauseMs, kMaxPauseMs);
}

std::chrono::steady_clock::time_point SystemPaceClock::Now() {
    return std::chrono::steady_clock::now();
}

bool SystemPaceClock::WaitUntil(std::chrono::steady_clock::time_point deadline,
                                const CancelFlag &cancel) {
    return cancel.WaitUntil(deadline);
}

std::string ProgressText(int number, int total) {
    return "Sending wave " + std::to_string(number) + " of " + std::to_string(total);
}

std::string SentCountText(const SendResult &result) {
    return std::to_string(result.Sent) + " of " + std::to_string(result.Total) +
           (result.Total == 1 ? " wave was sent." : " waves were sent.");
}

SendResult SendPaced(MidiOut &out, const std::string &api, const std::string &portName,
                     const MessageList &messages, int pauseMs, PaceClock &clock,
                     const CancelFlag &cancel, const ProgressCallback &progress) {
    SendResult result;
    result.Total = static_cast<int>(messages.size());
    result.PortName = portName;
    const auto pause = std::chrono::milliseconds(ClampPause(pauseMs));
    bool opened = false;
    try {
        const std::optional<MidiPort> port = FindPort(out.Ports().Ports, api, portName);
        if (!port)
            throw Error("The MIDI output port \"" + portName +
                        "\" is not available. Is the instrument connected and switched on?");
        result.PortName = port->Name;
        out.Open(*port);
        opened = true;
        std::chrono::steady_clock::time_point next{};
        for (const std::vector<std::uint8_t> &message : messages) {
            if (result.Sent > 0 && !clock.WaitUntil(next, cancel))
                break;
            if (cancel.Cancelled())
                break;
            if (progress)
                progress(result.Sent + 1, result.Total);
            out.Send(message);
            ++result.Sent;
            next = clock.Now() + pause;
        }
        result.Cancelled = result.Sent < result.Total && cancel.Cancelled();
        opened = false;
        out.Close();
    } catch (const std::exception &e) {
        result.Error = e.what();
    }
    if (opened) {
        try {
            out.Close();
        } catch (const std::exception &) {
            // The error that ended the send is the one to report.
        }
    }
    return result;
}

} // namespace morvane::midi
