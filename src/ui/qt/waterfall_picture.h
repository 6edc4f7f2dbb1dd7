#pragma once

#include <QImage>

#include "document/wave_message.h"
#include "ui/waterfall_view.h"

namespace morvane::qt {

// What the waterfall highlights: the current wave (1..64) and, when `selectionShown`, the waves
// first..last of the WaveSelection.
struct WaterfallMarks {
    int CurrentWave = 1;
    bool SelectionShown = false;
    int First = 1;
    int Last = 64;
};

// The waterfall of `table` as a picture of geometry.Width x geometry.Height logical pixels at
// `pixelRatio` device pixels each, antialiased. A wave hides what lies behind its area, from its
// curve down to its base, as if the waves were drawn back to front with their areas filled.
QImage RenderWaterfall(const Wavetable &table, const ui::WaterfallGeometry &geometry,
                       const WaterfallMarks &marks, qreal pixelRatio = 1.0);

// The spectrogram, harmonics 1..64 upwards and waves 1..64 across, the colour of a cell its
// level from -96 dB (black) to 0 dB (white through the colour scale), with the legend on the
// right. `currentWave` (1..64) is outlined.
QImage RenderSpectrogram(const ui::SpectrogramLevels &levels, int width, int height,
                         int currentWave, qreal pixelRatio = 1.0);

} // namespace morvane::qt
