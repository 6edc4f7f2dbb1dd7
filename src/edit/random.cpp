#include "edit/random.h"

#include <chrono>

namespace morvane::edit {

namespace {
constexpr std::uint32_t kMultiplier = 134775813; // the generator's LCG multiplier
}

TimeOfDay SystemClock::Now() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    const hh_mm_ss<milliseconds> t(duration_cast<milliseconds>(sinceMidnight));
    return {static_cast<int>(t.hours().count()), static_cast<int>(t.minutes().count()),
            static_cast<int>(t.seconds().count()), static_cast<int>(t.subseconds().count())};
}

void RandomGenerator::SeedFrom(const TimeOfDay &time) {
    Seed = static_cast<std::uint32_t>(((time.Hour * 60 + time.Minute) * 60 + time.Second) * 1000 +
                                      time.Millisecond);
}

std::uint32_t RandomGenerator::Random(std::uint32_t n) {
    Seed = Seed * kMultiplier + 1; // unsigned arithmetic wraps mod 2^32
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Seed) * n) >> 32);
}

} // namespace morvane::edit
