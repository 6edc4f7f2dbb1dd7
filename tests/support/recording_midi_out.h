#pragma once

// A MidiOut that records what it is asked to do, and a clock that only moves when told, so
// that pacing and cancelling can be checked without waiting and without a MIDI system.

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "document/error.h"
#include "midi/midi_out.h"
#include "midi/paced_sender.h"

namespace morvane::testing_support {

using SteadyClock = std::chrono::steady_clock;

class FakePaceClock final : public midi::PaceClock {
public:
    SteadyClock::time_point Now() override { return now_; }
    bool WaitUntil(SteadyClock::time_point deadline, const midi::CancelFlag &cancel) override {
        Waits.push_back(deadline);
        if (OnWait)
            OnWait(static_cast<int>(Waits.size()));
        if (cancel.Cancelled())
            return false;
        if (deadline > now_)
            now_ = deadline;
        return true;
    }
    void Advance(std::chrono::milliseconds by) { now_ += by; }
    // Milliseconds since the clock's start, for readable expectations.
    static long long Ms(SteadyClock::time_point t) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(t - SteadyClock::time_point{})
            .count();
    }

    std::vector<SteadyClock::time_point> Waits;
    std::function<void(int waitNumber)> OnWait;

private:
    SteadyClock::time_point now_{};
};

struct SentMessage {
    std::vector<std::uint8_t> Bytes;
    SteadyClock::time_point Start; // when Send was called
    SteadyClock::time_point End;   // when it returned
};

class RecordingMidiOut final : public midi::MidiOut {
public:
    explicit RecordingMidiOut(FakePaceClock *clock = nullptr) : clock_(clock) {}

    midi::MidiPortList Ports() override {
        Log.push_back("ports");
        return List;
    }
    void Open(const midi::MidiPort &port) override {
        Log.push_back("open " + port.Api + " " + port.Name);
        if (!OpenError.empty())
            throw Error(OpenError);
        IsOpen = true;
    }
    void Send(std::span<const std::uint8_t> message) override {
        const int number = static_cast<int>(Sent.size()) + 1;
        Log.push_back("send " + std::to_string(number));
        if (number == FailAt)
            throw Error(FailText);
        SentMessage sent;
        sent.Bytes.assign(message.begin(), message.end());
        if (clock_)
            sent.Start = clock_->Now();
        if (OnSend)
            OnSend(number);
        if (clock_) {
            clock_->Advance(SendDuration);
            sent.End = clock_->Now();
        }
        Sent.push_back(std::move(sent));
    }
    void Close() override {
        Log.push_back("close");
        IsOpen = false;
    }

    midi::MidiPortList List;
    std::string OpenError; // Open throws it when not empty
    int FailAt = 0;        // the 1-based message whose Send throws FailText
    std::string FailText = "The port went away.";
    std::chrono::milliseconds SendDuration{0}; // how long each Send takes on the fake clock
    std::function<void(int number)> OnSend;    // runs while message `number` is in flight

    bool IsOpen = false;
    std::vector<std::string> Log;
    std::vector<SentMessage> Sent;

private:
    FakePaceClock *clock_;
};

} // namespace morvane::testing_support
