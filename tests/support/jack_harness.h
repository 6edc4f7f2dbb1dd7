#pragma once

// The JACK side of the tests that play sound or send MIDI through JACK: a private JACK server
// on its dummy driver, and two clients of the test's own that listen to what the program sends,
// one for audio and one for MIDI.
//
// A test starts a server first, skips when none can be started, then opens its listener:
//
//     testing_support::JackServer server;
//     std::string reason;
//     if (!server.Start(reason))
//         GTEST_SKIP() << "no JACK server could be started: " << reason;
//     testing_support::JackRecorder recorder(2, 6 * testing_support::kJackSampleRate);
//     ASSERT_TRUE(recorder.Open(reason)) << reason;
//
// Tests that need every cycle of JACK to reach its clients on time (every MIDI event to arrive)
// skip first under ThreadSanitizer:
//
//     if (testing_support::kUnderThreadSanitizer)
//         GTEST_SKIP() << testing_support::kThreadSanitizerSkipReason;
//
// Linked from the target morvane::test_jack, which exists when the JACK development files were
// found; it defines MORVANE_HAVE_JACK for the tests that link it.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

namespace morvane::testing_support {

// Every server runs at this rate with this period (a cycle is about 5.8 ms).
inline constexpr unsigned kJackSampleRate = 44100;
inline constexpr unsigned kJackPeriodFrames = 256;

// ThreadSanitizer and JACK. JACK hands a port's buffer from one client's process thread to the
// next one's through futexes in the server's shared memory, which ThreadSanitizer cannot see; so
// the harness exempts the recorder's copy of its input buffers (and nothing else) from race
// reports. And ThreadSanitizer holds a process callback for as long as it takes to look at what
// libjack's lock-free ring buffers do; JACK drops the cycles of a client that late, so events
// vanish for that reason alone. Tests that count events skip under it.
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
inline constexpr const char *kThreadSanitizerSkipReason =
    "ThreadSanitizer holds JACK's process callbacks past their cycle";

// jackd -d dummy under a server name of its own, found by every JACK client of this process
// through JACK_DEFAULT_SERVER while it lives (clients may not start a server of their own).
// Two JACK servers started at the same time get in each other's way (their clients' sockets and
// the shared-memory registry are not kept apart by the server's name), so every JACK test of the
// project starts and keeps its server while holding the lock file kLockFile in the temporary
// folder: the test programs take turns. Stopped by its PID when the object goes.
class JackServer {
public:
    static constexpr const char *kLockFile = "morvane-jack-tests.lock";

    JackServer();
    ~JackServer();
    JackServer(const JackServer &) = delete;
    JackServer &operator=(const JackServer &) = delete;

    // Takes the lock, starts the server and waits (up to 15 s) until jack_wait sees it. False
    // with the reason when no server could be started (jackd2 missing, or it did not come up).
    bool Start(std::string &reason);
    const std::string &Name() const { return name_; }

private:
    void Stop();

    std::string name_;
    std::filesystem::path log_;
    pid_t pid_ = -1;
    int lock_ = -1; // the lock file's descriptor while held
};

// What both listeners share: a JACK client of the running server, ready once Open returns (its
// process callback has run a few cycles: JACK drops what a late client's cycle carried).
class JackListener {
public:
    JackListener(const JackListener &) = delete;
    JackListener &operator=(const JackListener &) = delete;

    // Disconnects from the server; after it the process callback no longer runs.
    void Close();
    unsigned SampleRate() const;

protected:
    using ProcessFunction = int (*)(unsigned frameCount, void *self);
    JackListener() = default;
    ~JackListener() { Close(); }
    // Opens the client `clientName` with the input ports `portNames` of `portType`, then
    // activates `process` (called on JACK's thread with `self`). False with the reason.
    bool OpenClient(const char *clientName, const char *portType,
                    const std::vector<std::string> &portNames, ProcessFunction process, void *self,
                    std::string &reason);
    // On JACK's thread, in `process`: the buffer of input port `port` for this cycle.
    void *Buffer(std::size_t port, unsigned frameCount) const;
    void CountCycle() { cycles_.fetch_add(1, std::memory_order_relaxed); }

    void *client_ = nullptr;    // jack_client_t
    std::vector<void *> ports_; // jack_port_t, reserved before the client runs

private:
    std::atomic<int> cycles_{0};
};

// A client "morvane-recorder" with `channels` audio input ports "in_1".. that records into
// memory allocated up front.
class JackRecorder final : public JackListener {
public:
    JackRecorder(int channels, std::size_t capacityFrames);
    ~JackRecorder() { Close(); } // before the recording goes

    bool Open(std::string &reason);
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
    std::vector<std::vector<float>> recording_;
    std::atomic<std::size_t> frames_{0};
};

// A client "morvane-receiver" with one MIDI input port "in". Its process thread copies every
// event into memory reserved up front, with the steady clock's time when the cycle that carried
// it ran.
class MidiReceiver final : public JackListener {
public:
    static constexpr std::size_t kCapacity = 256; // events kept
    static constexpr std::size_t kMaxEventSize = 1024;

    MidiReceiver();
    ~MidiReceiver() { Close(); } // before the slots go

    bool Open(std::string &reason);
    // "morvane-receiver:in", or empty once closed.
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

    std::vector<Slot> slots_;
    std::atomic<std::size_t> count_{0};
};

} // namespace morvane::testing_support
