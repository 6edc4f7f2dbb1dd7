#include "exchange/float_wave.h"

#include <vector>

#include <gtest/gtest.h>

namespace morvane::exchange {
namespace {

TEST(FloatWave, TwoSamplesGiveTheCanonicalFloatFile) {
    const std::vector<float> samples = {1.0f, -0.5f};
    const std::vector<std::uint8_t> expected = {
        'R',  'I',  'F',  'F', 58, 0, 0,  0, 'W', 'A', 'V',  'E', // 4 + 26 + 12 + 16
        'f',  'm',  't',  ' ', 18, 0, 0,  0, 3,   0,   1,    0,
        0x44, 0xAC, 0,    0,                                    // float, mono, 44100
        0x10, 0xB1, 0x02, 0,   4,  0, 32, 0, 0,   0,            // 176,400 B/s, 4, 32
        'f',  'a',  'c',  't', 4,  0, 0,  0, 2,   0,   0,    0, // two samples
        'd',  'a',  't',  'a', 8,  0, 0,  0, 0,   0,   0x80, 0x3F,
        0,    0,    0,    0xBF}; // 1.0f, -0.5f
    EXPECT_EQ(FloatWaveBytes(samples, 44100), expected);
}

} // namespace
} // namespace morvane::exchange
