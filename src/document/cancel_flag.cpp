#include "document/cancel_flag.h"

namespace morvane {

void CancelFlag::Cancel() {
    {
        // Raised under the lock so that a waiter between its test and its wait cannot miss it.
        const std::lock_guard<std::mutex> lock(mutex_);
        cancelled_.store(true);
    }
    wake_.notify_all();
}

bool CancelFlag::WaitUntil(std::chrono::steady_clock::time_point deadline) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_until(lock, deadline, [this] { return cancelled_.load(); });
}

} // namespace morvane
