#include "jack_harness.h"

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

// See kUnderThreadSanitizer: only the recorder's copy out of JACK's shared memory is exempt.
// One definition per program, here, where every JACK test gets its server from.
extern "C" const char *__tsan_default_suppressions() {
    return "race:morvane::testing_support::JackRecorder::Process\n";
}

namespace morvane::testing_support {

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

jack_client_t *Client(void *client) {
    return static_cast<jack_client_t *>(client);
}

jack_port_t *Port(void *port) {
    return static_cast<jack_port_t *>(port);
}

} // namespace

JackServer::JackServer() {
    name_ = "morvane-test-" + std::to_string(getpid()) + "-" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 100000);
    log_ = std::filesystem::temp_directory_path() / (name_ + ".log");
}

JackServer::~JackServer() {
    Stop();
}

bool JackServer::Start(std::string &reason) {
    const std::filesystem::path lock = std::filesystem::temp_directory_path() / kLockFile;
    lock_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock_ < 0 || ::flock(lock_, LOCK_EX) != 0) {
        reason = "the lock file " + lock.string() + " could not be taken";
        Stop();
        return false;
    }
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    pid_ = Spawn({"jackd", "-d", "dummy", "-r", std::to_string(kJackSampleRate), "-p",
                  std::to_string(kJackPeriodFrames)},
                 log_);
    if (pid_ < 0) {
        reason = "jackd could not be started (is jackd2 installed?)";
        Stop();
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

bool JackListener::OpenClient(const char *clientName, const char *portType,
                              const std::vector<std::string> &portNames, ProcessFunction process,
                              void *self, std::string &reason) {
    jack_status_t status{};
    jack_client_t *client = jack_client_open(clientName, JackNoStartServer, &status);
    if (client == nullptr) {
        reason = std::string("the client ") + clientName + " could not connect to the JACK server";
        return false;
    }
    client_ = client;
    for (const std::string &name : portNames) {
        jack_port_t *port = jack_port_register(client, name.c_str(), portType, JackPortIsInput, 0);
        if (port == nullptr) {
            reason = std::string("the client ") + clientName + " could not register its ports";
            return false;
        }
        ports_.push_back(port);
    }
    jack_set_process_callback(client, process, self);
    if (jack_activate(client) != 0) {
        reason = std::string("the client ") + clientName + " could not be activated";
        return false;
    }
    constexpr int kWarmUpCycles = 20;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (cycles_.load() < kWarmUpCycles && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    if (cycles_.load() < kWarmUpCycles) {
        reason = std::string("the process callback of ") + clientName + " does not run";
        return false;
    }
    return true;
}

void JackListener::Close() {
    if (client_ == nullptr)
        return;
    jack_deactivate(Client(client_));
    jack_client_close(Client(client_));
    client_ = nullptr;
    ports_.clear();
}

unsigned JackListener::SampleRate() const {
    return client_ == nullptr ? 0 : jack_get_sample_rate(Client(client_));
}

void *JackListener::Buffer(std::size_t port, unsigned frameCount) const {
    return jack_port_get_buffer(Port(ports_[port]), frameCount);
}

JackRecorder::JackRecorder(int channels, std::size_t capacityFrames)
    : channels_(channels), capacity_(capacityFrames),
      recording_(static_cast<std::size_t>(channels), std::vector<float>(capacityFrames, 0.0f)) {}

bool JackRecorder::Open(std::string &reason) {
    std::vector<std::string> names;
    for (int c = 0; c < channels_; ++c)
        names.push_back("in_" + std::to_string(c + 1));
    return OpenClient("morvane-recorder", JACK_DEFAULT_AUDIO_TYPE, names, Process, this, reason);
}

std::vector<std::string> JackRecorder::OtherOutputPorts() const {
    std::vector<std::string> names;
    const char **ports =
        jack_get_ports(Client(client_), nullptr, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
    if (ports == nullptr)
        return names;
    for (const char **p = ports; *p != nullptr; ++p) {
        const std::string name = *p;
        if (name.rfind("system:", 0) != 0 && name.rfind("morvane-recorder:", 0) != 0)
            names.push_back(name);
    }
    jack_free(static_cast<void *>(ports));
    std::sort(names.begin(), names.end());
    return names;
}

bool JackRecorder::Connect(const std::string &source, int channel) {
    const auto port = static_cast<std::size_t>(channel);
    if (client_ == nullptr || port >= ports_.size())
        return false;
    return jack_connect(Client(client_), source.c_str(), jack_port_name(Port(ports_[port]))) == 0;
}

// JACK's process thread: copies the inputs behind what was recorded; nothing else.
int JackRecorder::Process(unsigned frameCount, void *self) {
    auto *recorder = static_cast<JackRecorder *>(self);
    recorder->CountCycle();
    const std::size_t start = recorder->frames_.load(std::memory_order_relaxed);
    const std::size_t count = std::min<std::size_t>(frameCount, recorder->capacity_ - start);
    for (std::size_t c = 0; c < recorder->ports_.size(); ++c) {
        const auto *input = static_cast<const float *>(recorder->Buffer(c, frameCount));
        std::copy(input, input + count,
                  recorder->recording_[c].begin() + static_cast<std::ptrdiff_t>(start));
    }
    recorder->frames_.store(start + count, std::memory_order_release);
    return 0;
}

MidiReceiver::MidiReceiver() : slots_(kCapacity) {}

bool MidiReceiver::Open(std::string &reason) {
    return OpenClient("morvane-receiver", JACK_DEFAULT_MIDI_TYPE, {"in"}, Process, this, reason);
}

std::string MidiReceiver::PortName() const {
    return ports_.empty() ? std::string() : jack_port_name(Port(ports_.front()));
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
    receiver->CountCycle();
    void *buffer = receiver->Buffer(0, frameCount);
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

} // namespace morvane::testing_support
