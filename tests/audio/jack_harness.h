#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

// Helpers of the end-to-end sound test: a private JACK server on its dummy driver, and a JACK
// client that records what other clients play into it.
namespace morvane::testing_jack {

// A jackd with the dummy driver at 44,100 Hz under a server name of its own (through
// JACK_DEFAULT_SERVER, which this process keeps while the server lives, so that every JACK
// client made here finds it). Stopped by its PID when the object goes.
class JackServer {
public:
    JackServer();
    ~JackServer();
    JackServer(const JackServer &) = delete;
    JackServer &operator=(const JackServer &) = delete;

    // Starts the server and waits until jack_wait sees it; false with the reason when no server
    // could be started.
    bool Start(std::string &reason);
    const std::string &Name() const { return name_; }

private:
    void Stop();

    std::string name_;
    std::filesystem::path log_;
    pid_t pid_ = -1;
    // Concurrent JACK servers get in each other's way, so every JACK test of the project starts
    // and keeps its server while holding the lock file "morvane-jack-tests.lock" in the
    // temporary folder (tests/midi does the same).
    int lock_ = -1;
};

// A JACK client with `channels` input ports that records into memory allocated up front.
class JackRecorder {
public:
    JackRecorder(int channels, std::size_t capacityFrames);
    ~JackRecorder();
    JackRecorder(const JackRecorder &) = delete;
    JackRecorder &operator=(const JackRecorder &) = delete;

    bool Open(std::string &reason);
    unsigned SampleRate() const;
    // The audio output ports of other clients (not "system", not this one), sorted by name.
    std::vector<std::string> OtherOutputPorts() const;
    // Connects `source` to input port `channel`.
    bool Connect(const std::string &source, int channel);
    // Frames recorded so far; the samples below it may be read.
    std::size_t Frames() const { return frames_.load(std::memory_order_acquire); }
    float Sample(int channel, std::size_t frame) const {
        return recording_[static_cast<std::size_t>(channel)][frame];
    }

private:
    static int Process(unsigned frameCount, void *self);

    int channels_;
    std::size_t capacity_;
    void *client_ = nullptr;    // jack_client_t
    std::vector<void *> ports_; // jack_port_t
    std::vector<std::vector<float>> recording_;
    std::atomic<std::size_t> frames_{0};
};

} // namespace morvane::testing_jack
