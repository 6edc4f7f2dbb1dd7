#include "edit/random.h"

#include <gtest/gtest.h>

namespace morvane::edit {
namespace {

TEST(RandomGenerator, SeedsFromTheTimeOfDay) {
    RandomGenerator r;
    r.SeedFrom({1, 2, 3, 456});
    EXPECT_EQ(r.Seed, ((1u * 60 + 2) * 60 + 3) * 1000 + 456);
    r.SeedFrom({23, 59, 59, 999});
    EXPECT_EQ(r.Seed, 86399999u);
}

TEST(RandomGenerator, StepsTheSeedBeforeEachDraw) {
    RandomGenerator r;
    r.SetSeed(0);
    EXPECT_EQ(r.Random(100), 0u); // seed 1: (1 * 100) >> 32 = 0
    EXPECT_EQ(r.Seed, 1u);
    EXPECT_EQ(r.Random(1000), static_cast<std::uint32_t>((134775814ull * 1000) >> 32));
    EXPECT_EQ(r.Seed, 134775814u);
}

TEST(RandomGenerator, WrapsModuloTwoToTheThirtyTwo) {
    RandomGenerator r;
    r.SetSeed(0xFFFFFFFFu);
    r.Random(2);
    EXPECT_EQ(r.Seed, static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
}

TEST(RandomGenerator, StaysBelowN) {
    RandomGenerator r;
    r.SetSeed(12345);
    for (int i = 0; i < 10000; ++i)
        ASSERT_LT(r.Random(7), 7u);
    EXPECT_EQ(r.Random(1), 0u);
}

TEST(SystemClock, GivesATimeOfDay) {
    const TimeOfDay t = SystemClock().Now();
    EXPECT_GE(t.Hour, 0);
    EXPECT_LT(t.Hour, 24);
    EXPECT_LT(t.Minute, 60);
    EXPECT_LT(t.Second, 61);
    EXPECT_LT(t.Millisecond, 1000);
}

} // namespace
} // namespace morvane::edit
