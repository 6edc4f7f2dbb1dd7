#include "midi/rtmidi/rtmidi_in.h"

#include <atomic>
#include <exception>
#include <memory>
#include <span>
#include <vector>

#include <RtMidi.h>

#include "midi/rtmidi/rtmidi_ports.h"

namespace morvane::midi {

namespace {

constexpr const char *kOwnPortName = "Morvane in";

class RtMidiInput final : public MidiIn {
public:
    MidiPortList Ports() override { return rtmidi::ListPorts(rtmidi::Direction::Input); }

    void Open(const MidiPort &port, MidiInReceiver &receiver) override {
        Close();
        rtmidi::FoundPort found = rtmidi::FindOpenablePort(port, rtmidi::Direction::Input);
        auto &in = static_cast<RtMidiIn &>(found.Owner->Midi());
        receiver_.store(&receiver, std::memory_order_release);
        found.Owner->Call([&] {
            in.ignoreTypes(true, true, true);
            in.setCallback(&RtMidiInput::Deliver, this);
            return 0;
        });
        found.Owner->Open(found.Index, kOwnPortName);
        client_ = std::move(found.Owner);
    }

    void Close() override {
        if (!client_)
            return;
        // Destroying the RtMidi object ends its thread, and so the last delivery.
        std::unique_ptr<rtmidi::Client> client = std::move(client_);
        try {
            client->Close();
        } catch (const std::exception &) {
            // The port went away meanwhile: there is nothing left to stop.
        }
        client.reset();
        receiver_.store(nullptr, std::memory_order_release);
    }

    ~RtMidiInput() override { Close(); }

private:
    // RtMidi's input thread: the message as it came, into the receiver.
    static void Deliver(double, std::vector<unsigned char> *message, void *self) {
        MidiInReceiver *receiver =
            static_cast<RtMidiInput *>(self)->receiver_.load(std::memory_order_acquire);
        if (receiver != nullptr && message != nullptr)
            receiver->Receive(std::span<const std::uint8_t>(message->data(), message->size()));
    }

    std::unique_ptr<rtmidi::Client> client_;
    std::atomic<MidiInReceiver *> receiver_{nullptr};
};

} // namespace

std::unique_ptr<MidiIn> CreateRtMidiIn() {
    return std::make_unique<RtMidiInput>();
}

} // namespace morvane::midi
