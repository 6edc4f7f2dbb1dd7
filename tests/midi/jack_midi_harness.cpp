#include "jack_midi_harness.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <jack/jack.h>
#include <jack/midiport.h>

extern char **environ;

namespace morvane::midi::testing_jack {

namespace {

using namespace std::chrono_literals;

// Runs a program found on PATH with its output going to `log`; the PID, or -1.
pid_t Spawn(const std::vector<std::string> &arguments, const std::filesystem::path &log) {
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// The exit status of `pid`, or -1 when it did not end within `patience`.
int WaitFor(pid_t pid, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        if (done < 0 && errno != EINTR)
            return 128;
        if (std::chrono::steady_clock::now() > deadline)
            return -1;
        std::this_thread::sleep_for(10ms);
    }
}

std::string Tail(const std::filesystem::path &log) {
    std::ifstream in(log);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    return all.size() > 600 ? all.substr(all.size() - 600) : all;
}

} // namespace

JackServer::JackServer() {
    name_ = "morvane-midi-test-" + std::to_string(getpid()) + "-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 100000);
    log_ = std::filesystem::temp_directory_path() / (name_ + ".log");
}

JackServer::~JackServer() {
    Stop();
}

bool JackServer::Start(std::string &reason) {
    const std::filesystem::path lock = std::filesystem::temp_directory_path() / kJackTestLock;
    lock_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock_ < 0 || ::flock(lock_, LOCK_EX) != 0) {
        reason = "the lock file " + lock.string() + " could not be taken";
        Stop();
        return false;
    }
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    // Clients must not start a server of their own: only the one started here counts.
    setenv("JACK_NO_START_SERVER", "1", 1);
    pid_ = Spawn({"jackd", "-d", "dummy", "-r", std::to_string(kSampleRate), "-p",
                  std::to_string(kPeriodFrames)},
                 log_);
    if (pid_ < 0) {
        reason = "jackd could not be started (is jackd2 installed?)";
        return false;
    }
    const pid_t waiter = Spawn({"jack_wait", "-w", "-t", "10"}, log_);
    if (waiter < 0) {
        reason = "jack_wait could not be started (is jackd2 installed?)";
        Stop();
        return false;
    }
    const int status = WaitFor(waiter, 15s);
    if (status != 0) {
        if (status < 0) {
            kill(waiter, SIGKILL);
            WaitFor(waiter, 5s);
        }
        reason = "the JACK server did not come up: " + Tail(log_);
        Stop();
        return false;
    }
    return true;
}

void JackServer::Stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        if (WaitFor(pid_, 5s) < 0) {
            kill(pid_, SIGKILL);
            WaitFor(pid_, 5s);
        }
        pid_ = -1;
    }
    unsetenv("JACK_DEFAULT_SERVER");
    unsetenv("JACK_NO_START_SERVER");
    std::error_code ec;
    std::filesystem::remove(log_, ec);
    if (lock_ >= 0) {
        ::close(lock_); // releases the lock
        lock_ = -1;
    }
}

MidiReceiver::MidiReceiver() : slots_(kCapacity) {}

MidiReceiver::~MidiReceiver() {
    Close();
}

bool MidiReceiver::Open(std::string &reason) {
    jack_status_t status{};
    jack_client_t *client = jack_client_open("morvane-receiver", JackNoStartServer, &status);
    if (client == nullptr) {
        reason = "the receiver could not connect to the JACK server";
        return false;
    }
    client_ = client;
    port_ = jack_port_register(client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (port_ == nullptr) {
        reason = "the receiver could not register its MIDI port";
        return false;
    }
    jack_set_process_callback(
        client, [](jack_nframes_t n, void *self) { return Process(n, self); }, this);
    if (jack_activate(client) != 0) {
        reason = "the receiver could not be activated";
        return false;
    }
    // Ready once its process callback runs: JACK drops what a late client's cycle carried.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (cycles_.load() < kWarmUpCycles && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    if (cycles_.load() < kWarmUpCycles) {
        reason = "the receiver's process callback does not run";
        return false;
    }
    return true;
}

void MidiReceiver::Close() {
    if (client_ == nullptr)
        return;
    auto *client = static_cast<jack_client_t *>(client_);
    jack_deactivate(client);
    jack_client_close(client);
    client_ = nullptr;
    port_ = nullptr;
}

std::string MidiReceiver::PortName() const {
    return port_ == nullptr ? std::string() : jack_port_name(static_cast<jack_port_t *>(port_));
}

std::vector<MidiReceiver::Event> MidiReceiver::Events() const {
    const std::size_t count = Count();
    std::vector<Event> events;
    for (std::size_t i = 0; i < count; ++i) {
        const Slot &slot = slots_[i];
        Event event;
        event.Size = slot.Size;
        event.Bytes.assign(slot.Bytes, slot.Bytes + std::min(slot.Size, kMaxEventSize));
        event.Arrived =
            std::chrono::steady_clock::time_point(std::chrono::nanoseconds(slot.ArrivedNs));
        events.push_back(std::move(event));
    }
    return events;
}

// JACK's process thread: copies the cycle's events behind those already kept; nothing else.
int MidiReceiver::Process(unsigned frameCount, void *self) {
    auto *receiver = static_cast<MidiReceiver *>(self);
    receiver->cycles_.fetch_add(1, std::memory_order_relaxed);
    void *buffer = jack_port_get_buffer(static_cast<jack_port_t *>(receiver->port_), frameCount);
    const std::uint32_t events = jack_midi_get_event_count(buffer);
    if (events == 0)
        return 0;
    const std::int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
    std::size_t count = receiver->count_.load(std::memory_order_relaxed);
    for (std::uint32_t i = 0; i < events && count < kCapacity; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0)
            continue;
        Slot &slot = receiver->slots_[count];
        slot.Size = event.size;
        std::copy(event.buffer, event.buffer + std::min(event.size, kMaxEventSize), slot.Bytes);
        slot.ArrivedNs = now;
        ++count;
    }
    receiver->count_.store(count, std::memory_order_release);
    return 0;
}

} // namespace morvane::midi::testing_jack
