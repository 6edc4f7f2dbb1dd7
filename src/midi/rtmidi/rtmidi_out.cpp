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
#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include "document/error.h"

namespace morvane::midi {

namespace {

constexpr const char *kClientName = "Morvane";
constexpr const char *kOwnPortName = "Morvane out";

// A new JACK connection takes effect at the start of a later process cycle; a message that the
// output drains in a cycle before that would go nowhere. So after connecting, the sender waits
// until a few cycles have run (JackCycles), at most kJackSettleLimit.
constexpr int kJackSettleCycles = 4;
constexpr auto kJackSettleLimit = std::chrono::seconds(2);

// libjack and alsa-lib print to the console whenever a client cannot be opened (no JACK
// server, no sequencer device); RtMidi reports the same as text, which is what the user sees.
void SilentJack(const char *) {}
void SilentAlsa(const char *, int, const char *, int, const char *, ...) {}

void QuietenJack() {
    static std::once_flag once;
    std::call_once(once, [] {
        jack_set_error_function(SilentJack);
        jack_set_info_function(SilentJack);
    });
}

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

// Counts JACK's process cycles from a client of its own, to wait for cycles to pass.
class JackCycles {
public:
    JackCycles() {
        QuietenJack();
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

// Why the API cannot be used now, or an empty text when it can.
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

std::vector<RtMidi::Api> OutputApis() {
    std::vector<RtMidi::Api> compiled;
    RtMidi::getCompiledApi(compiled);
    std::vector<RtMidi::Api> apis;
    for (RtMidi::Api api : compiled) {
        if (api != RtMidi::RTMIDI_DUMMY && api != RtMidi::UNSPECIFIED)
            apis.push_back(api);
    }
    return apis;
}

// One RtMidi output with its reports caught: RtMidi hands errors and warnings (a full buffer, a
// server that is not running) to the callback instead of the console or an exception, and the
// next call turns them into morvane::Error.
class Client {
public:
    explicit Client(RtMidi::Api api) : api_(api) {
        if (api == RtMidi::UNIX_JACK)
            QuietenJack();
        try {
            out_ = std::make_unique<RtMidiOut>(api, kClientName);
        } catch (const RtMidiError &e) {
            throw Error(e.getMessage());
        }
        out_->setErrorCallback(&Client::Report, this);
    }
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    RtMidi::Api Api() const { return api_; }

    std::vector<std::string> PortNames() {
        std::vector<std::string> names;
        const unsigned count = Call([&] { return out_->getPortCount(); });
        for (unsigned i = 0; i < count; ++i)
            names.push_back(Call([&] { return out_->getPortName(i); }));
        return names;
    }
    void Open(unsigned index) {
        Call([&] {
            out_->openPort(index, kOwnPortName);
            return 0;
        });
    }
    void Send(std::span<const std::uint8_t> message) {
        Call([&] {
            out_->sendMessage(message.data(), message.size());
            return 0;
        });
    }
    void Close() {
        Call([&] {
            out_->closePort();
            return 0;
        });
    }

private:
    static void Report(RtMidiError::Type type, const std::string &text, void *self) {
        if (type == RtMidiError::DEBUG_WARNING)
            return;
        auto *client = static_cast<Client *>(self);
        if (client->pending_.empty())
            client->pending_ = text;
    }

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

    RtMidi::Api api_;
    std::unique_ptr<RtMidiOut> out_;
    std::string pending_;
};

class RtMidiOutput final : public MidiOut {
public:
    MidiPortList Ports() override {
        MidiPortList list;
        for (RtMidi::Api api : OutputApis()) {
            const std::string title = ApiTitle(api);
            if (const std::string why = Unavailable(api); !why.empty()) {
                list.Unavailable.push_back(title + ": " + why);
                continue;
            }
            try {
                Client client(api);
                for (std::string &name : client.PortNames())
                    list.Ports.push_back({RtMidi::getApiName(api), title, std::move(name)});
            } catch (const std::exception &e) {
                list.Unavailable.push_back(title + ": " + e.what());
            }
        }
        return list;
    }

    void Open(const MidiPort &port) override {
        Close();
        const RtMidi::Api api = RtMidi::getCompiledApiByName(port.Api);
        if (api == RtMidi::UNSPECIFIED)
            throw Error("This program cannot reach MIDI ports through \"" + port.Api + "\".");
        if (const std::string why = Unavailable(api); !why.empty())
            throw Error(Gone(port.Name, "is not available: " + why));
        auto client = std::make_unique<Client>(api);
        const std::vector<std::string> names = client->PortNames();
        unsigned index = 0;
        while (index < names.size() && names[index] != port.Name)
            ++index;
        if (index == names.size())
            throw Error(Gone(port.Name, "is not available"));
        if (api == RtMidi::UNIX_JACK) {
            // Kept until the port closes: a client leaving reorders JACK's graph too, and no
            // message should go out while that happens.
            cycles_ = std::make_unique<JackCycles>();
            client->Open(index);
            cycles_->Wait(kJackSettleCycles, kJackSettleLimit);
        } else {
            client->Open(index);
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
            throw Error(Gone(port_.Name, "has gone away"));
        client_->Send(message);
    }

    void Close() override {
        if (!client_)
            return;
        std::unique_ptr<Client> client = std::move(client_);
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
    static std::string Gone(const std::string &name, const std::string &how) {
        return "The MIDI output port \"" + name + "\" " + how + ".";
    }

    std::unique_ptr<Client> client_;
    std::unique_ptr<JackCycles> cycles_; // while a JACK port is open
    MidiPort port_;
};

} // namespace

std::unique_ptr<MidiOut> CreateRtMidiOut() {
    return std::make_unique<RtMidiOutput>();
}

} // namespace morvane::midi
