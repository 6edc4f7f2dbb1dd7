#include "document/wave_message.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

struct CodecCase {
    std::int32_t Value;
    std::uint8_t High, Middle, Low;
    std::int32_t Decoded;
};

class CodecWorkedValues : public ::testing::TestWithParam<CodecCase> {};

TEST_P(CodecWorkedValues, EncodesAndDecodes) {
    const CodecCase c = GetParam();
    const SampleTriple t = EncodeSample(c.Value);
    EXPECT_EQ(t.High, c.High);
    EXPECT_EQ(t.Middle, c.Middle);
    EXPECT_EQ(t.Low, c.Low);
    EXPECT_EQ(DecodeSample(t.High, t.Middle, t.Low), c.Decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodecWorkedValues,
    ::testing::Values(
        CodecCase{0, 0x00, 0x00, 0x00, 0}, CodecCase{1, 0x00, 0x00, 0x01, 1},
        CodecCase{-1, 0x00, 0x00, 0x00, 0}, CodecCase{-2, 0x7F, 0x00, 0x02, -2},
        CodecCase{127, 0x00, 0x00, 0x7F, 127}, CodecCase{128, 0x00, 0x01, 0x00, 128},
        CodecCase{-128, 0x7F, 0x01, 0x00, -128}, CodecCase{16384, 0x01, 0x00, 0x00, 16384},
        CodecCase{-16384, 0x7E, 0x00, 0x00, -16384}, CodecCase{524287, 0x1F, 0x7F, 0x7F, 524287},
        CodecCase{-524288, 0x5F, 0x00, 0x00, -524288},
        CodecCase{1048575, 0x3F, 0x7F, 0x7F, 1048575},
        CodecCase{-1048575, 0x40, 0x7F, 0x7F, -1048575},
        CodecCase{1048576, 0x40, 0x00, 0x00, -1032192}, CodecCase{-1048576, 0xFF, 0x00, 0x00, 0},
        CodecCase{2097152, 0x00, 0x00, 0x00, 0}));

TEST(Codec, RoundTripsTheWholeRangeButMinusOne) {
    for (std::int32_t v = -kMaxSample; v <= kMaxSample; ++v) {
        const SampleTriple t = EncodeSample(v);
        const std::int32_t back = DecodeSample(t.High, t.Middle, t.Low);
        if (v == -1) {
            ASSERT_EQ(back, 0);
        } else {
            ASSERT_EQ(back, v) << "value " << v;
        }
        ASSERT_LE(t.High, 0x7F) << "value " << v;
        ASSERT_LE(t.Middle, 0x7F);
        ASSERT_LE(t.Low, 0x7F);
    }
}

TEST(Codec, DecodesBytesThatNoEncodingGives) {
    EXPECT_EQ(DecodeSample(0x7F, 0x7F, 0x7F), -16383);
    EXPECT_EQ(DecodeSample(0x3F, 0x7F, 0x7F), 1048575);
    EXPECT_EQ(DecodeSample(0x40, 0x7F, 0x7F), -1048575);
    EXPECT_EQ(DecodeSample(0x40, 0x00, 0x00), -1032192);
}

TEST(Codec, ExtremeOverflowValuesEncodeWithoutUndefinedBehaviour) {
    const SampleTriple lo = EncodeSample(INT32_MIN);
    const SampleTriple hi = EncodeSample(INT32_MAX);
    EXPECT_EQ(lo.Low, 0);
    EXPECT_EQ(hi.Low, 0x7F);
}

} // namespace
} // namespace morvane
