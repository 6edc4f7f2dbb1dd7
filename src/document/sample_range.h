#pragma once

#include "document/wave_message.h"

namespace morvane {

// The samples that per-sample edits touch, 0-based and inclusive; First < Last.
struct SampleRange {
    int First = 0;
    int Last = kSampleCount - 1;
    friend bool operator==(const SampleRange&, const SampleRange&) = default;
};

} // namespace morvane
