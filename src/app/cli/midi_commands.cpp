#include "cli/midi_commands.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <optional>

#include "cli/options.h"
#include "files/settings_file.h"
#include "midi/rtmidi/rtmidi_out.h"
#include "midi/sysex_messages.h"

namespace morvane::cli {

namespace {

struct SendOptions {
    std::string File;
    std::optional<std::string> Port;
    std::optional<int> PauseMs;
};

SendOptions ParseSendOptions(const std::vector<std::string> &args) {
    SendOptions options;
    OptionParser()
        .SingleDashOptions()
        .Value("--port",
               [&options](const std::string &name) {
                   if (name.empty())
                       throw UsageError("--port needs a port's name");
                   options.Port = name;
               })
        .Whole("--pause",
               std::to_string(midi::kMinPauseMs) + " to " + std::to_string(midi::kMaxPauseMs) +
                   " milliseconds",
               options.PauseMs, midi::kMinPauseMs, midi::kMaxPauseMs)
        .Positional([&options](const std::string &file) {
            if (!options.File.empty())
                throw UsageError("send takes one file");
            options.File = file;
        })
        .Parse(args);
    if (options.File.empty())
        throw UsageError("send needs a .syx file");
    return options;
}

// --port NAME: a port's name, or the line "ports" prints for it ("JACK: receiver:in").
std::optional<midi::MidiPort> PortNamed(const std::vector<midi::MidiPort> &ports,
                                        const std::string &name) {
    for (const midi::MidiPort &port : ports) {
        if (midi::PortLabel(port) == name)
            return port;
    }
    return midi::FindPort(ports, "", name);
}

// A pause in slices, so that Ctrl+C, which can only set a flag, ends the send within a slice.
class InterruptibleClock final : public midi::PaceClock {
public:
    InterruptibleClock(CancelFlag &flag, const std::atomic<bool> &interrupted)
        : flag_(flag), interrupted_(interrupted) {}
    std::chrono::steady_clock::time_point Now() override { return system_.Now(); }
    bool WaitUntil(std::chrono::steady_clock::time_point deadline,
                   const CancelFlag &cancel) override {
        constexpr auto kSlice = std::chrono::milliseconds(10);
        for (;;) {
            if (interrupted_.load())
                flag_.Cancel();
            const auto now = system_.Now();
            if (now >= deadline)
                return !cancel.Cancelled();
            if (!system_.WaitUntil(std::min(deadline, now + kSlice), cancel))
                return false;
        }
    }

private:
    midi::SystemPaceClock system_;
    CancelFlag &flag_;
    const std::atomic<bool> &interrupted_;
};

std::atomic<bool> interruptedBySignal{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    interruptedBySignal.store(true);
}

midi::MidiOutputSettings SavedSettings() {
    return midi::LoadMidiOutputSettings(files::DefaultSettingsFilePath());
}

} // namespace

int RunSend(const std::vector<std::string> &args, midi::MidiOut &out,
            const midi::MidiOutputSettings &saved, midi::PaceClock &clock, const CancelFlag &cancel,
            std::ostream &output, std::ostream &errors) {
    const UsageText usage{"morvane-cli send", "send FILE.syx [--port NAME] [--pause MS]"};
    SendOptions options;
    try {
        options = ParseSendOptions(args);
    } catch (const UsageError &e) {
        return ReportUsage(errors, usage, e.what());
    }
    midi::MessageList messages;
    try {
        messages = midi::ReadSyxMessages(options.File);
    } catch (const std::exception &e) {
        errors << "morvane-cli send: " << e.what() << "\n";
        return 1;
    }

    std::string api = saved.MidiApi;
    std::string portName = saved.MidiPort;
    if (options.Port) {
        const midi::MidiPortList list = out.Ports();
        const std::optional<midi::MidiPort> port = PortNamed(list.Ports, *options.Port);
        if (!port) {
            errors << "morvane-cli send: there is no MIDI output port \"" << *options.Port
                   << "\"; morvane-cli ports lists them.\n";
            return 1;
        }
        api = port->Api;
        portName = port->Name;
    } else if (portName.empty()) {
        errors << "morvane-cli send: no MIDI output port is chosen; give one with --port NAME "
                  "(morvane-cli ports lists them) or choose one in the editor under Exchange > "
                  "MIDI output ...\n";
        return 2;
    }
    const int pauseMs = options.PauseMs.value_or(midi::ClampPause(saved.MidiPauseMs));

    const midi::SendResult result = midi::SendPaced(
        out, api, portName, messages, pauseMs, clock, cancel, [&](int number, int total) {
            output << "Sending message " << number << " of " << total << " ("
                   << messages[static_cast<std::size_t>(number - 1)].size() << " bytes)\n"
                   << std::flush;
        });
    const std::string count = std::to_string(result.Sent) + " of " + std::to_string(result.Total) +
                              " messages were sent to \"" + result.PortName + "\".";
    if (result.Complete()) {
        output << count << "\n";
        return 0;
    }
    if (!result.Error.empty())
        errors << "morvane-cli send: " << result.Error << " " << count << "\n";
    else
        errors << "morvane-cli send: interrupted. " << count << "\n";
    return 1;
}

int RunPorts(const std::vector<std::string> &args, midi::MidiOut &out,
             const midi::MidiOutputSettings &saved, std::ostream &output, std::ostream &errors) {
    if (!args.empty())
        return ReportUsage(errors, {"morvane-cli ports", "ports"}, "takes no arguments");
    const midi::MidiPortList list = out.Ports();
    const std::optional<midi::MidiPort> chosen =
        saved.MidiPort.empty() ? std::nullopt
                               : midi::FindPort(list.Ports, saved.MidiApi, saved.MidiPort);
    for (const midi::MidiPort &port : list.Ports)
        output << midi::PortLabel(port) << (chosen && *chosen == port ? "  (chosen)" : "") << "\n";
    for (const std::string &note : list.Unavailable)
        errors << note << "\n";
    if (list.Ports.empty())
        errors << "No MIDI output port found.\n";
    return 0;
}

int SendCommand(int &, char **, const std::vector<std::string> &args) {
    const std::unique_ptr<midi::MidiOut> out = midi::CreateRtMidiOut();
    CancelFlag cancel;
    InterruptibleClock clock(cancel, interruptedBySignal);
    // Ctrl+C stops after the message in flight, so that the instrument never gets half of one.
    const auto previous = std::signal(SIGINT, OnInterrupt);
    const int status = RunSend(args, *out, SavedSettings(), clock, cancel, std::cout, std::cerr);
    std::signal(SIGINT, previous);
    return status;
}

int PortsCommand(int &, char **, const std::vector<std::string> &args) {
    const std::unique_ptr<midi::MidiOut> out = midi::CreateRtMidiOut();
    return RunPorts(args, *out, SavedSettings(), std::cout, std::cerr);
}

} // namespace morvane::cli
