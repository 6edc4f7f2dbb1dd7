#include "document/cancel_flag.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace morvane {
namespace {

using namespace std::chrono_literals;

TEST(CancelFlagWaits, ARaisedFlagWakesAWaiterOnAnotherThread) {
    CancelFlag flag;
    EXPECT_FALSE(flag.Cancelled());
    // A deadline already passed is reached at once.
    EXPECT_TRUE(flag.WaitUntil(std::chrono::steady_clock::now() - 1ms));
    bool reached = true;
    std::thread waiter([&] { reached = flag.WaitUntil(std::chrono::steady_clock::now() + 600s); });
    std::this_thread::sleep_for(10ms);
    flag.Cancel();
    waiter.join();
    EXPECT_FALSE(reached);
    EXPECT_TRUE(flag.Cancelled());
    EXPECT_FALSE(flag.WaitUntil(std::chrono::steady_clock::now() + 600s));
}

} // namespace
} // namespace morvane
