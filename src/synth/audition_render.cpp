#include "synth/audition_render.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace morvane::synth {

std::vector<float> RenderAudition(const Wavetable &table, const AuditionRender &request) {
    auto engine = std::make_unique<AuditionEngine>(request.SampleRate);
    engine->SetTable(table);
    AuditionParams params;
    params.Mode = request.Mode;
    params.Position = request.From;
    params.EnvelopeFrom = 0.0;
    params.EnvelopeTo = request.To - request.From;
    params.EnvelopeSeconds = request.Seconds;
    params.Gain = 1.0;
    engine->SetParams(params);
    engine->ToneOn(request.Frequency, 127);

    const double rate = engine->SampleRate();
    const auto held = static_cast<std::size_t>(std::llround(rate * request.Seconds));
    const auto total =
        static_cast<std::size_t>(std::llround(rate * (request.Seconds + params.ReleaseSeconds)));
    std::vector<float> out(total);
    if (held == 0)
        engine->AllNotesOff();
    // Whole periods, except where the note's end falls: the key goes up exactly there.
    for (std::size_t done = 0; done < total;) {
        const std::size_t end = done < held ? std::min(held, done + kRenderPeriod)
                                            : std::min(total, done + kRenderPeriod);
        engine->Render(out.data() + done, static_cast<int>(end - done));
        done = end;
        if (done == held)
            engine->AllNotesOff();
    }
    return out;
}

} // namespace morvane::synth
