#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_settings.h"
#include "audio/wave_out.h"

namespace morvane::audio {

// The generator thread: opens the wave-out device with the format of the settings, hands its
// 16 buffers to the device in turn, one pass every 10 ms, and closes the device when Running
// is lowered. It knows nothing of waves: the UI thread fills Buffers (FillPlayBuffers) before
// Start and rewrites them in place whenever the view is redrawn.
//
// Threads: construction, Start, lowering Running, writing Buffers and destruction happen on
// the UI thread; Execute and the steps it calls run on the generator's own thread only.
class TAudioGen {
public:
    // Called once, on the generator's thread, with the backend's error text when the device
    // cannot be opened; the loop then runs as usual and nothing is heard.
    using OpenFailedFunction = std::function<void(const std::string &errorText)>;

    // Created suspended: no thread runs until Start, but Running is already true, so that a
    // Stop that comes before the thread has run is never lost. The settings are copied here,
    // on the UI thread, right before Start: the thread must not read the UI thread's instance,
    // which the setup dialog may change meanwhile.
    TAudioGen(WaveOut &waveOut, const AudioSettings &settings,
              OpenFailedFunction onOpenFailed = {});
    // Lowers Running and waits for the thread; the device has given back every buffer by the
    // time the thread ends, so the memory may go.
    ~TAudioGen();
    TAudioGen(const TAudioGen &) = delete;
    TAudioGen &operator=(const TAudioGen &) = delete;

    // Starts the thread (once).
    void Start();
    // True once the thread has closed the device and ended.
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Waits for the thread to end (after Running was lowered).
    void Join();
    // True when releasing the object cannot wait: never started, or its thread has ended.
    bool CanRelease() const { return !thread_.joinable() || Finished(); }

    // True while the loop is to go on; lowered by the UI thread to stop.
    std::atomic<bool> Running{true};
    // Sample memory, buffer number k at index k - 1: written by the UI thread (relaxed atomic
    // stores), read by the device; the generator itself never writes it.
    AudioBuffers Buffers;

private:
    void Execute();
    void OpenWaveOut();
    void QueueNextBuffer();
    void CloseWaveOut();

    WaveOut &waveOut_;
    AudioSettings settings_;
    OpenFailedFunction onOpenFailed_;

    // Owned by the generator's thread from Start to its end.
    std::unique_ptr<WaveOutStream> WaveOutHandle;
    PcmWaveFormat WaveFormat;
    std::array<WaveHeader, kWaveBufferCount> Headers{}; // header k at index k - 1
    int CurrentBuffer = 1;                              // 1..16, the header handed over last

    std::atomic<bool> finished_{false};
    std::thread thread_;
};

// The main window's reference to the latest generator. A generator that a new Play replaces is
// kept until its thread has ended (and so its device has given back every buffer), then
// released; the buffer fill only ever writes into the current one, which is alive.
class AudioGenSlot {
public:
    AudioGenSlot() = default;
    // Lowers Running of every generator still held and waits for their threads.
    ~AudioGenSlot();
    AudioGenSlot(const AudioGenSlot &) = delete;
    AudioGenSlot &operator=(const AudioGenSlot &) = delete;

    TAudioGen *Get() const { return current_.get(); }
    TAudioGen *operator->() const { return current_.get(); }
    explicit operator bool() const { return current_ != nullptr; }

    // Makes `generator` the current one. The previous one has its Running lowered (it was
    // stopped already, unless the caller skipped Stop) and waits in the retired list; retired
    // generators whose threads have ended are released here.
    TAudioGen &Replace(std::unique_ptr<TAudioGen> generator);
    // Releases the retired generators whose threads have ended; returns how many remain.
    std::size_t ReleaseFinished();

private:
    std::unique_ptr<TAudioGen> current_;
    std::vector<std::unique_ptr<TAudioGen>> retired_;
};

} // namespace morvane::audio
