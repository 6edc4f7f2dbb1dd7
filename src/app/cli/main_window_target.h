#pragma once

#include "cli/script_target.h"

namespace morvane::qt {
class TfrmMain;
}

namespace morvane::cli {

// The editor's main window as a script target.
class MainWindowTarget final : public ScriptTarget {
public:
    explicit MainWindowTarget(qt::TfrmMain &window) : window_(window) {}

    QWidget &Window() override;
    void CloseWithoutQuestion() override;
    QWidget &ClientArea() override;
    bool Modified() const override;
    int CurrentWave() const override;
    std::string History() const override;
    QImage GraphPicture() const override;
    QImage OverviewPicture() const override;
    std::optional<std::vector<std::int16_t>> PlayBuffers() const override;
    QImage WaterfallPicture() const override;
    QImage SpectrogramPicture() const override;
    std::vector<std::string> HarmonicLines() const override;
    void SetHarmonic(const script::HarmonicSetting &harmonic) override;

private:
    qt::TfrmMain &window_;
};

} // namespace morvane::cli
