#include "audio/audio_gen.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <utility>

namespace morvane::audio {

namespace {
constexpr std::chrono::milliseconds kPassInterval{10}; // the pause between passes
}

TAudioGen::TAudioGen(WaveOut &waveOut, const AudioSettings &settings,
                     OpenFailedFunction onOpenFailed)
    : waveOut_(waveOut), settings_(settings), onOpenFailed_(std::move(onOpenFailed)) {}

TAudioGen::~TAudioGen() {
    Running.store(false);
    Join();
}

void TAudioGen::Start() {
    if (!thread_.joinable() && !Finished()) {
        thread_ = std::thread([this] { Execute(); });
    }
}

void TAudioGen::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TAudioGen::Execute() {
    OpenWaveOut();
    while (Running.load()) {
        QueueNextBuffer();
        std::this_thread::sleep_for(kPassInterval);
    }
    CloseWaveOut();
    finished_.store(true, std::memory_order_release);
}

void TAudioGen::OpenWaveOut() {
    CurrentBuffer = 1;
    WaveFormat = MakeWaveFormat(settings_);
    std::string error;
    try {
        WaveOutOpenResult result = waveOut_.Open(settings_.WaveAudioDevice, WaveFormat);
        WaveOutHandle = std::move(result.Stream);
        error = std::move(result.Error);
        if (!WaveOutHandle && error.empty()) {
            error = "the device could not be opened";
        }
    } catch (const std::exception &e) {
        WaveOutHandle.reset();
        error = e.what();
    } catch (...) {
        WaveOutHandle.reset();
        error = "the device could not be opened";
    }
    for (int k = 1; k <= kWaveBufferCount; ++k) {
        WaveHeader &header = Headers[static_cast<std::size_t>(k - 1)];
        header.Data = Buffers[static_cast<std::size_t>(k - 1)].data();
        header.BufferLength = kWaveBufferBytes;
    }
    if (!WaveOutHandle && onOpenFailed_) {
        try {
            onOpenFailed_(error);
        } catch (...) {
            // The report is a courtesy; it must not end the thread.
        }
    }
}

void TAudioGen::QueueNextBuffer() {
    CurrentBuffer = CurrentBuffer + 1;
    if (CurrentBuffer == kWaveBufferCount + 1) {
        CurrentBuffer = 1;
    }
    try {
        if (!WaveOutHandle) {
            return; // the open failed: every later call fails quietly
        }
        // A held buffer is skipped; the index has advanced all the same, so it is offered
        // again only when the index comes round to it.
        if (WaveOutHandle->IsHeld(CurrentBuffer)) {
            return;
        }
        (void)WaveOutHandle->Write(CurrentBuffer,
                                   Headers[static_cast<std::size_t>(CurrentBuffer - 1)]);
    } catch (...) {
        // An error inside a pass never ends the thread.
    }
}

void TAudioGen::CloseWaveOut() {
    try {
        if (WaveOutHandle) {
            WaveOutHandle->Close();
        }
    } catch (...) {
    }
    WaveOutHandle.reset();
}

AudioGenSlot::~AudioGenSlot() {
    if (current_) {
        current_->Running.store(false);
    }
    for (auto &generator : retired_) {
        generator->Running.store(false);
    }
    retired_.clear();
    current_.reset();
}

TAudioGen &AudioGenSlot::Replace(std::unique_ptr<TAudioGen> generator) {
    if (current_) {
        current_->Running.store(false);
        retired_.push_back(std::move(current_));
    }
    current_ = std::move(generator);
    ReleaseFinished();
    return *current_;
}

std::size_t AudioGenSlot::ReleaseFinished() {
    std::erase_if(retired_, [](const std::unique_ptr<TAudioGen> &generator) {
        return generator->CanRelease();
    });
    return retired_.size();
}

} // namespace morvane::audio
