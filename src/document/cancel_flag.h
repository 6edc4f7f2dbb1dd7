#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace morvane {

// The stop request of work that runs on a thread of its own (a send to the instrument, any job
// a progress dialog shows): raised from any thread (the Cancel button on the interface thread),
// read by the working thread, which it also wakes from a wait.
class CancelFlag {
public:
    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }
    // Waits until the deadline or the cancel, whichever comes first; true when the deadline
    // was reached without a cancel.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline) const;

private:
    std::atomic<bool> cancelled_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable wake_;
};

} // namespace morvane
