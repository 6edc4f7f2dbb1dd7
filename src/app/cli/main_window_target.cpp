#include "cli/main_window_target.h"

#include "audio/audio_gen.h"
#include "edit/history.h"
#include "edit/spectrum.h"
#include "render/canvas.h"
#include "ui/qt/harmonics_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/waterfall_window.h"

namespace morvane::cli {

namespace {

// The canvas holds 0xFFRRGGBB words, the layout of a 32-bit RGB image.
QImage ToImage(const render::Canvas &canvas) {
    return QImage(reinterpret_cast<const uchar *>(canvas.Data()), canvas.Width(), canvas.Height(),
                  canvas.Width() * 4, QImage::Format_RGB32)
        .copy();
}

} // namespace

QWidget &MainWindowTarget::Window() {
    return window_;
}

void MainWindowTarget::CloseWithoutQuestion() {
    window_.CloseWithoutQuestion();
}

QWidget &MainWindowTarget::ClientArea() {
    return window_.ClientArea != nullptr ? *window_.ClientArea : window_;
}

bool MainWindowTarget::Modified() const {
    return window_.IsModified();
}

int MainWindowTarget::CurrentWave() const {
    return window_.CurrentWave();
}

std::string MainWindowTarget::History() const {
    const edit::HistoryStack &history = window_.History();
    return std::to_string(history.HistoryPosition()) + " / " +
           std::to_string(history.HistoryCount());
}

QImage MainWindowTarget::GraphPicture() const {
    return ToImage(window_.GraphBitmap());
}

QImage MainWindowTarget::OverviewPicture() const {
    return ToImage(window_.OverviewBitmap());
}

QImage MainWindowTarget::WaterfallPicture() const {
    return qt::SavedWaterfallPicture(window_);
}

QImage MainWindowTarget::SpectrogramPicture() const {
    return qt::SavedSpectrogramPicture(window_);
}

std::optional<std::vector<std::int16_t>> MainWindowTarget::PlayBuffers() const {
    const audio::TAudioGen *generator = window_.AudioGen.Get();
    if (generator == nullptr)
        return std::nullopt;
    std::vector<std::int16_t> samples;
    samples.reserve(audio::kWaveBufferCount * audio::kWaveBufferSamples);
    for (const audio::AudioBuffer &buffer : generator->Buffers)
        for (const audio::AudioSample &sample : buffer)
            samples.push_back(sample.load(std::memory_order_relaxed));
    return samples;
}

std::vector<std::string> MainWindowTarget::HarmonicLines() const {
    const edit::Spectrum spectrum = edit::Analyse(window_.Table(), window_.CurrentWave() - 1);
    std::vector<std::string> lines;
    for (int k = 0; k <= edit::kTopHarmonic; ++k)
        lines.push_back(edit::HarmonicLine(spectrum, k));
    return lines;
}

void MainWindowTarget::SetHarmonic(const script::HarmonicSetting &harmonic) {
    window_.frmHarmonics->SetHarmonicCommand(harmonic.K, harmonic.Magnitude, harmonic.Phase);
}

} // namespace morvane::cli
