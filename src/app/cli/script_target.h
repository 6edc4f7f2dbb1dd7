#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

#include "script/script_parser.h"

class QWidget;

namespace morvane::cli {

// What the script runner needs of the window beyond its controls: the state a script prints
// under a pseudo-name and the pictures and buffers it saves. The runner finds the controls
// themselves by name, so every control of the window can be driven without this interface
// growing.
class ScriptTarget {
public:
    virtual ~ScriptTarget() = default;

    virtual QWidget &Window() = 0;
    // Closes the window as the program's end does, without asking about unsaved work.
    virtual void CloseWithoutQuestion() = 0;
    // The widget whose top-left corner is (0, 0) of the client area, below the menu bar.
    virtual QWidget &ClientArea() = 0;
    virtual bool Modified() const = 0;
    virtual int CurrentWave() const = 0;
    // "P / C": the history position and count.
    virtual std::string History() const = 0;
    // The off-screen graph picture and the overview picture, pixel for pixel.
    virtual QImage GraphPicture() const = 0;
    virtual QImage OverviewPicture() const = 0;
    // The play buffers of the current audio generator, buffer after buffer, or none while
    // there is no generator.
    virtual std::optional<std::vector<std::int16_t>> PlayBuffers() const = 0;
    // The waterfall and the spectrogram of the table, 800 x 600; none where the target has no
    // table to show.
    virtual QImage WaterfallPicture() const { return {}; }
    virtual QImage SpectrogramPicture() const { return {}; }
    // `print harmonics`: the current wave's 65 lines "harmonic: K M P".
    virtual std::vector<std::string> HarmonicLines() const {
        throw script::ScriptError("this window has no harmonic view");
    }
    // `harmonic K M P`: the command a bar stroke over the harmonic view is, in one step.
    virtual void SetHarmonic(const script::HarmonicSetting &) {
        throw script::ScriptError("this window has no harmonic view");
    }
};

} // namespace morvane::cli
