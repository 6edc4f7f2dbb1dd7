#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

// The JACK side of the MIDI output test: a private JACK server on its dummy driver, and a JACK
// client of the test's own that receives MIDI and notes when each event came in.
namespace morvane::midi::testing_jack {

// Under ThreadSanitizer the JACK end-to-end tests cannot run: it stops a process callback for
// as long as it takes to look at what libjack's lock-free ring buffer does (barriers it cannot
// see), JACK drops the cycles of a client that late, and messages vanish for that reason alone.
#if defined(__SANITIZE_THREAD__)
inline constexpr bool kUnderThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
inline constexpr bool kUnderThreadSanitizer = true;
#else
inline constexpr bool kUnderThreadSanitizer = false;
#endif
#else
inline constexpr bool kUnderThreadSanitizer = false;
#endif

// jackd with the dummy driver under a server name of its own, found by every JACK client of
// this process through JACK_DEFAULT_SERVER while it lives. Stopped by its PID when the object
// goes. Two JACK servers started at the same time get in each other's way (their clients'
// sockets and the shared-memory registry are not kept apart by the server's name), so the test
// programs take turns: the server is started and kept while holding the lock file
// kJackTestLock in the temporary folder, which every JACK test of this project takes.
class JackServer {
public:
    JackServer();
    ~JackServer();
    JackServer(const JackServer &) = delete;
    JackServer &operator=(const JackServer &) = delete;

    // false with the reason when no server could be started.
    bool Start(std::string &reason);
    // Frames per process cycle, as the server was started.
    static constexpr int kPeriodFrames = 256;
    static constexpr int kSampleRate = 48000;
    static constexpr const char *kJackTestLock = "morvane-jack-tests.lock";

private:
    void Stop();

    std::string name_;
    std::filesystem::path log_;
    pid_t pid_ = -1;
    int lock_ = -1; // the lock file's descriptor while held
};

// A JACK client "morvane-receiver" with one MIDI input port "in". Its process thread copies
// every event into memory reserved up front, with the steady clock's time when the cycle that
// carried it ran.
class MidiReceiver {
public:
    static constexpr std::size_t kCapacity = 256; // events kept
    static constexpr std::size_t kMaxEventSize = 1024;

    MidiReceiver();
    ~MidiReceiver();
    MidiReceiver(const MidiReceiver &) = delete;
    MidiReceiver &operator=(const MidiReceiver &) = delete;

    bool Open(std::string &reason);
    void Close();
    // "morvane-receiver:in"
    std::string PortName() const;

    struct Event {
        std::vector<std::uint8_t> Bytes; // cut at kMaxEventSize
        std::size_t Size = 0;            // the event's real size
        std::chrono::steady_clock::time_point Arrived;
    };
    std::size_t Count() const { return count_.load(std::memory_order_acquire); }
    // The events received so far, in order.
    std::vector<Event> Events() const;

private:
    static int Process(unsigned frameCount, void *self);

    struct Slot {
        std::uint8_t Bytes[kMaxEventSize];
        std::size_t Size;
        std::int64_t ArrivedNs;
    };

    void *client_ = nullptr; // jack_client_t
    void *port_ = nullptr;   // jack_port_t
    std::vector<Slot> slots_;
    std::atomic<std::size_t> count_{0};
    std::atomic<int> cycles_{0};
    static constexpr int kWarmUpCycles = 20;
};

} // namespace morvane::midi::testing_jack
