#include "midi/rtmidi/rtmidi_out.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include <RtMidi.h>
#include <jack/jack.h>

#include "document/error.h"
#include "midi/rtmidi/rtmidi_ports.h"

namespace morvane::midi {

namespace {

constexpr const char *kOwnPortName = "Morvane out";

// A new JACK connection takes effect at the start of a later process cycle; a message that the
// output drains in a cycle before that would go nowhere. So after connecting, the sender waits
// until a few cycles have run (JackCycles), at most kJackSettleLimit.
constexpr int kJackSettleCycles = 4;
constexpr auto kJackSettleLimit = std::chrono::seconds(2);

// Counts JACK's process cycles from a client of its own, to wait for cycles to pass.
class JackCycles {
public:
    JackCycles() {
        rtmidi::QuietenJack();
        jack_status_t status{};
        client_ = jack_client_open("Morvane sync", JackNoStartServer, &status);
        if (client_ == nullptr)
            return;
        jack_set_process_callback(client_, &JackCycles::Process, this);
        if (jack_activate(client_) != 0) {
            jack_client_close(client_);
            client_ = nullptr;
        }
    }
    ~JackCycles() {
        if (client_ != nullptr) {
            jack_deactivate(client_);
            jack_client_close(client_);
        }
    }
    JackCycles(const JackCycles &) = delete;
    JackCycles &operator=(const JackCycles &) = delete;

    // Waits until `cycles` more cycles have run, or `limit` went by.
    void Wait(int cycles, std::chrono::milliseconds limit) const {
        const long long target = count_.load() + cycles;
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (count_.load() < target && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

private:
    // JACK's process thread: nothing but the count.
    static int Process(jack_nframes_t, void *self) {
        static_cast<JackCycles *>(self)->count_.fetch_add(1);
        return 0;
    }

    jack_client_t *client_ = nullptr;
    std::atomic<long long> count_{0};
};

class RtMidiOutput final : public MidiOut {
public:
    MidiPortList Ports() override { return rtmidi::ListPorts(rtmidi::Direction::Output); }

    void Open(const MidiPort &port) override {
        Close();
        rtmidi::FoundPort found = rtmidi::FindOpenablePort(port, rtmidi::Direction::Output);
        std::unique_ptr<rtmidi::Client> client = std::move(found.Owner);
        if (client->Api() == RtMidi::UNIX_JACK) {
            // Kept until the port closes: a client leaving reorders JACK's graph too, and no
            // message should go out while that happens.
            cycles_ = std::make_unique<JackCycles>();
            client->Open(found.Index, kOwnPortName);
            cycles_->Wait(kJackSettleCycles, kJackSettleLimit);
        } else {
            client->Open(found.Index, kOwnPortName);
        }
        client_ = std::move(client);
        port_ = port;
    }

    void Send(std::span<const std::uint8_t> message) override {
        if (!client_)
            throw Error("No MIDI output port is open.");
        // Neither ALSA nor JACK reports a destination that disappeared: events to it are
        // dropped. So the port is looked for before each message.
        const std::vector<std::string> names = client_->PortNames();
        if (std::find(names.begin(), names.end(), port_.Name) == names.end())
            throw Error(rtmidi::Gone(rtmidi::Direction::Output, port_.Name, "has gone away"));
        client_->Call([&] {
            static_cast<RtMidiOut &>(client_->Midi()).sendMessage(message.data(), message.size());
            return 0;
        });
    }

    void Close() override {
        if (!client_)
            return;
        std::unique_ptr<rtmidi::Client> client = std::move(client_);
        client->Close(); // waits until JACK has taken what is still queued
        cycles_.reset();
    }

    ~RtMidiOutput() override {
        try {
            Close();
        } catch (const std::exception &) {
            // Closing while unwinding: nothing left to report to.
        }
    }

private:
    std::unique_ptr<rtmidi::Client> client_;
    std::unique_ptr<JackCycles> cycles_; // while a JACK port is open
    MidiPort port_;
};

} // namespace

std::unique_ptr<MidiOut> CreateRtMidiOut() {
    return std::make_unique<RtMidiOutput>();
}

} // namespace morvane::midi
