#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/wave_out.h"

namespace morvane::testing_support {

// A wave-out port that records every call the generator makes, in order.
class RecordingWaveOut final : public audio::WaveOut {
public:
    // A generous bound for the waits below; reaching it fails the test, it measures nothing.
    static constexpr std::chrono::seconds kPatience{10};

    struct Call {
        std::string What; // "Open", "Write", "Close"
        int Buffer = 0;
        std::uint32_t Bytes = 0;
        const audio::AudioSample *Data = nullptr;
    };

    // Decides IsHeld for buffer k on its n-th question (n counts from 1).
    std::function<bool(int k, int n)> Held = [](int, int) { return false; };
    // Write throws for this buffer number on its first write (0: never).
    int ThrowOnFirstWriteOf = 0;
    int ExistingDevices = 2;

    std::vector<audio::WaveOutCaps> Devices() override { return {}; }

    audio::WaveOutOpenResult Open(int device, const audio::PcmWaveFormat &format) override {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back({"Open", 0, 0, nullptr});
        OpenedDevice = device;
        OpenedFormat = format;
        audio::WaveOutOpenResult result;
        if (device < -1 || device >= ExistingDevices) {
            result.Error = "Invalid device";
            return result;
        }
        result.Stream = std::make_unique<Stream>(*this);
        return result;
    }

    std::vector<Call> Calls() {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }
    std::vector<int> WrittenBuffers() {
        std::vector<int> buffers;
        for (const Call &call : Calls()) {
            if (call.What == "Write") {
                buffers.push_back(call.Buffer);
            }
        }
        return buffers;
    }
    // Waits until `count` writes were made (or the patience runs out).
    bool WaitForWrites(std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return writes_ >= count; });
    }

    // While held, Close does not return: the device still holds the generator's buffers.
    void HoldClose(bool hold) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            closeMayReturn_ = !hold;
        }
        changed_.notify_all();
    }
    bool WaitForClose() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, kPatience,
                                 [&] { return !calls_.empty() && calls_.back().What == "Close"; });
    }

    int OpenedDevice = -99;
    audio::PcmWaveFormat OpenedFormat{};

private:
    class Stream final : public audio::WaveOutStream {
    public:
        explicit Stream(RecordingWaveOut &owner) : owner_(owner) {}
        bool Write(int k, const audio::WaveHeader &header) override {
            {
                std::lock_guard<std::mutex> lock(owner_.mutex_);
                if (k == owner_.ThrowOnFirstWriteOf && !thrown_) {
                    thrown_ = true;
                    throw std::runtime_error("refused");
                }
                owner_.calls_.push_back({"Write", k, header.BufferLength, header.Data});
                ++owner_.writes_;
            }
            owner_.changed_.notify_all();
            return true;
        }
        bool IsHeld(int k) override {
            std::lock_guard<std::mutex> lock(owner_.mutex_);
            const int n = ++owner_.asked_[static_cast<std::size_t>(k)];
            return owner_.Held(k, n);
        }
        void Close() override {
            std::unique_lock<std::mutex> lock(owner_.mutex_);
            owner_.calls_.push_back({"Close", 0, 0, nullptr});
            owner_.changed_.notify_all();
            // A device that takes its time to give the buffers back.
            owner_.changed_.wait(lock, [&] { return owner_.closeMayReturn_; });
        }

    private:
        RecordingWaveOut &owner_;
        bool thrown_ = false;
    };

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Call> calls_;
    std::size_t writes_ = 0;
    bool closeMayReturn_ = true;
    std::array<int, audio::kWaveBufferCount + 1> asked_{};
};

} // namespace morvane::testing_support
