#include "ui/key_buffer.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace morvane::ui {

namespace {
constexpr int kHarmonicCount = 50; // cmbAmplitude holds "1/1" .. "1/50"
constexpr std::array<std::string_view, 5> kShapeWords{"sin", "tri", "squ", "saw", "rnd"};

// A whole decimal number that fits in 32 bits; anything else (empty, a sign, other
// characters, too many digits) is no number.
bool ReadDecimal(const std::string &text, std::int32_t &value) {
    if (text.empty())
        return false;
    std::int64_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
        if (n > INT32_MAX)
            return false;
    }
    value = static_cast<std::int32_t>(n);
    return true;
}
} // namespace

void CtrlKeyBuffer::Reset() {
    ctrlDown_ = false;
    buffer_.clear();
}

void CtrlKeyBuffer::KeyDown(int key) {
    if (key == kVkControl) {
        ctrlDown_ = true;
        buffer_.clear();
        return;
    }
    if (!ctrlDown_)
        return;
    if (key >= kVk0 && key <= kVk9)
        buffer_ += static_cast<char>('0' + (key - kVk0));
    else if (key == kVkQ)
        buffer_ = "sin";
    else if (key == kVkW)
        buffer_ = "tri";
    else if (key == kVkE)
        buffer_ = "squ";
    else if (key == kVkR)
        buffer_ = "saw";
    else if (key == kVkT)
        buffer_ = "rnd";
}

KeyChoice CtrlKeyBuffer::KeyUp(int key) {
    if (key != kVkControl)
        return {};
    ctrlDown_ = false;
    return ChoiceOfKeyBuffer(buffer_);
}

KeyChoice ChoiceOfKeyBuffer(const std::string &buffer) {
    KeyChoice choice;
    for (std::size_t i = 0; i < kShapeWords.size(); ++i)
        if (buffer == kShapeWords[i])
            choice.WaveItem = static_cast<int>(i);
    std::int32_t n = 0;
    if (ReadDecimal(buffer, n) && n >= 1 && n <= kHarmonicCount)
        choice.AmplitudeItem = n - 1;
    return choice;
}

} // namespace morvane::ui
