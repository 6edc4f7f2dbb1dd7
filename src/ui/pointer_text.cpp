#include "ui/pointer_text.h"

#include "render/drawing.h"

namespace morvane::ui {

namespace {
constexpr int kPixelsPerSample = 3; // graph columns per sample
constexpr int kImageHeight = 385;   // the graph image is one row taller than the picture
} // namespace

std::string GroupedNumber(std::int64_t value) {
    const bool negative = value < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(value)
                                       : static_cast<std::uint64_t>(value);
    std::string digits;
    int count = 0;
    do {
        if (count > 0 && count % 3 == 0)
            digits.insert(digits.begin(), ',');
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++count;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

std::string PercentOfFullScale(std::int32_t value) {
    // value * 1000 / 1,048,575 tenths of a percent, rounded half away from zero.
    const std::int64_t scaled = std::int64_t{value} * 1000;
    const std::int64_t magnitude = scaled < 0 ? -scaled : scaled;
    const std::int64_t tenths = (2 * magnitude + kMaxSample) / (2 * std::int64_t{kMaxSample});
    std::string text = (scaled < 0 && tenths != 0) ? "-" : "";
    text += std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    return text;
}

std::string GraphPointerText(const Wavetable &table, int wave, int viewMode, int x, int y) {
    if (x < 0 || x >= render::kGraphSize || y < 0 || y >= kImageHeight)
        return {};
    if (viewMode == render::kMotionPathView)
        return "Pixel " + std::to_string(x) + ", " + std::to_string(y);
    if (wave < 1 || wave > kWaveCount)
        return {};
    const int sample = x / kPixelsPerSample;
    const std::int32_t value = ReadSample(table, wave - 1, sample);
    return "Sample " + std::to_string(sample + 1) + ": " + GroupedNumber(value) + " (" +
           PercentOfFullScale(value) + " %)";
}

} // namespace morvane::ui
