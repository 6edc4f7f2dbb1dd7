#include "jack_harness.h"

#if defined(MORVANE_HAVE_JACK)

#include <algorithm>
#include <cerrno>
#include <chrono>
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

extern char **environ;

#if defined(__SANITIZE_THREAD__)
#define MORVANE_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define MORVANE_TSAN 1
#endif
#endif

#if defined(MORVANE_TSAN)
// JACK hands a port's buffer from one client's process thread to the next one's through
// futexes in the server's shared memory, which ThreadSanitizer cannot see; the recorder's copy
// of its input buffers would be reported as racing with the writer in the other client. Only
// that copy is exempt.
extern "C" const char *__tsan_default_suppressions() {
    return "race:morvane::testing_jack::JackRecorder::Process\n";
}
#endif

namespace morvane::testing_jack {

namespace {

using namespace std::chrono_literals;

// Runs a program found on PATH; its output goes to `log`. Returns the PID or -1.
pid_t Spawn(const std::vector<std::string> &arguments, const std::filesystem::path &log) {
    std::vector<char *> argv;
    for (const std::string &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
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

// Waits for `pid` up to `patience`; its exit status, or -1 when it did not end in time.
int WaitFor(pid_t pid, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (true) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        }
        if (done < 0 && errno != EINTR) {
            return 128;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(10ms);
    }
}

std::string Tail(const std::filesystem::path &log) {
    std::ifstream in(log);
    std::ostringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    return all.size() > 600 ? all.substr(all.size() - 600) : all;
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
    const std::filesystem::path lock =
        std::filesystem::temp_directory_path() / "morvane-jack-tests.lock";
    lock_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock_ < 0 || ::flock(lock_, LOCK_EX) != 0) {
        reason = "the lock file " + lock.string() + " could not be taken";
        Stop();
        return false;
    }
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    // No autostart of a server by a client: only the one started here counts.
    setenv("JACK_NO_START_SERVER", "1", 1);
    pid_ = Spawn({"jackd", "-d", "dummy", "-r", "44100", "-p", "256"}, log_);
    if (pid_ < 0) {
        reason = "jackd could not be started (is jackd2 installed?)";
        return false;
    }
    const pid_t waiter = Spawn({"jack_wait", "-w", "-t", "10"}, log_);
    if (waiter < 0) {
        reason = "jack_wait could not be started";
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

JackRecorder::JackRecorder(int channels, std::size_t capacityFrames)
    : channels_(channels), capacity_(capacityFrames),
      recording_(static_cast<std::size_t>(channels), std::vector<float>(capacityFrames, 0.0f)) {}

JackRecorder::~JackRecorder() {
    if (client_ != nullptr) {
        auto *client = static_cast<jack_client_t *>(client_);
        jack_deactivate(client);
        jack_client_close(client);
    }
}

bool JackRecorder::Open(std::string &reason) {
    jack_status_t status{};
    jack_client_t *client = jack_client_open("morvane-recorder", JackNoStartServer, &status);
    if (client == nullptr) {
        reason = "the recorder could not connect to the JACK server";
        return false;
    }
    client_ = client;
    for (int c = 0; c < channels_; ++c) {
        const std::string name = "in_" + std::to_string(c + 1);
        jack_port_t *port =
            jack_port_register(client, name.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        if (port == nullptr) {
            reason = "the recorder could not register its ports";
            return false;
        }
        ports_.push_back(port);
    }
    jack_set_process_callback(
        client, [](jack_nframes_t n, void *self) { return Process(n, self); }, this);
    if (jack_activate(client) != 0) {
        reason = "the recorder could not be activated";
        return false;
    }
    return true;
}

unsigned JackRecorder::SampleRate() const {
    return jack_get_sample_rate(static_cast<jack_client_t *>(client_));
}

std::vector<std::string> JackRecorder::OtherOutputPorts() const {
    std::vector<std::string> names;
    const char **ports = jack_get_ports(static_cast<jack_client_t *>(client_), nullptr,
                                        JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
    if (ports == nullptr) {
        return names;
    }
    for (const char **p = ports; *p != nullptr; ++p) {
        const std::string name = *p;
        if (name.rfind("system:", 0) != 0 && name.rfind("morvane-recorder:", 0) != 0) {
            names.push_back(name);
        }
    }
    jack_free(static_cast<void *>(ports));
    std::sort(names.begin(), names.end());
    return names;
}

bool JackRecorder::Connect(const std::string &source, int channel) {
    auto *client = static_cast<jack_client_t *>(client_);
    auto *port = static_cast<jack_port_t *>(ports_[static_cast<std::size_t>(channel)]);
    return jack_connect(client, source.c_str(), jack_port_name(port)) == 0;
}

// JACK's process thread: copies the inputs behind what was recorded; nothing else.
int JackRecorder::Process(unsigned frameCount, void *self) {
    auto *recorder = static_cast<JackRecorder *>(self);
    const std::size_t start = recorder->frames_.load(std::memory_order_relaxed);
    const std::size_t count = std::min<std::size_t>(frameCount, recorder->capacity_ - start);
    for (std::size_t c = 0; c < recorder->ports_.size(); ++c) {
        const auto *input = static_cast<const float *>(
            jack_port_get_buffer(static_cast<jack_port_t *>(recorder->ports_[c]), frameCount));
        std::copy(input, input + count,
                  recorder->recording_[c].begin() + static_cast<std::ptrdiff_t>(start));
    }
    recorder->frames_.store(start + count, std::memory_order_release);
    return 0;
}

} // namespace morvane::testing_jack

#endif // MORVANE_HAVE_JACK
