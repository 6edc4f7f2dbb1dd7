#pragma once

#include <cstdint>

namespace morvane::edit {

// A time of day in UTC, the seed source of the random generator.
struct TimeOfDay {
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// The clock port: the system's UTC time of day, replaceable in tests and scripts.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TimeOfDay Now() const = 0;
};

class SystemClock final : public Clock {
public:
    TimeOfDay Now() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(TimeOfDay time) : time_(time) {}
    void Set(TimeOfDay time) { time_ = time; }
    TimeOfDay Now() const override { return time_; }

private:
    TimeOfDay time_;
};

// The program's one 32-bit linear congruential generator.
class RandomGenerator {
public:
    // seed := ((hour * 60 + minute) * 60 + second) * 1000 + millisecond
    void SeedFrom(const TimeOfDay &time);
    void SetSeed(std::uint32_t seed) { Seed = seed; }
    // Steps the seed, then returns the high 32 bits of seed * n: a whole number 0..n-1.
    std::uint32_t Random(std::uint32_t n);

    std::uint32_t Seed = 0;
};

} // namespace morvane::edit
