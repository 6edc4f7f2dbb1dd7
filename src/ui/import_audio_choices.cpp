#include "ui/import_audio_choices.h"

#include <algorithm>
#include <exception>

#include "document/error.h"
#include "exchange/limits.h"

namespace morvane::ui {

// The dialog's texts are built from the exchange library's numbers and words.
using exchange::AudioFile;
using exchange::DescribeMapping;
using exchange::FrameCount;
using exchange::FramesFoundText;
using exchange::FrameSourceText;
using exchange::GroupedNumber;
using exchange::kWholeFile;
using exchange::OfferedFrameLengths;
using exchange::PhaseMode;
using exchange::ProposedFrameLength;

namespace {

bool PitchEntered(const std::string &text) {
    return !text.empty() && text != "auto";
}

// The pitch found over the region and the waves the choice makes, or why there are none.
CyclesPreview PreviewCycles(const AudioFile &file, const CyclesChoice &choice, int first,
                            int last) {
    CyclesPreview preview;
    preview.PitchFound = "Pitch found: none";
    exchange::ResynthSettings settings;
    try {
        settings = CyclesSettings(file, choice, first, last);
    } catch (const std::exception &e) {
        preview.Problem = e.what();
        return preview;
    }
    if (settings.PitchHz) {
        preview.PitchEntered = "Pitch entered: " + exchange::PitchText(*settings.PitchHz);
        // What the file itself holds is still worth seeing beside the pitch entered.
        try {
            const exchange::PitchTrack track = exchange::TrackPitch(file, settings.Span);
            if (track.MedianPeriod > 0)
                preview.PitchFound =
                    "Pitch found: " + exchange::PitchText(file.SampleRate / track.MedianPeriod);
        } catch (const std::exception &) {
            // "none" stands; the pitch entered makes the waves.
        }
    }
    try {
        preview.Waves = exchange::Resynthesise(file, settings);
        if (!settings.PitchHz)
            preview.PitchFound = "Pitch found: " + exchange::PitchText(preview.Waves.PitchHz);
    } catch (const std::exception &e) {
        preview.Problem = e.what();
    }
    return preview;
}

} // namespace

std::string PhaseModeText(PhaseMode phase) {
    switch (phase) {
    case PhaseMode::Keep:
        return "Keep the cycles as taken";
    case PhaseMode::Zero:
        return "Zero: every harmonic in sine phase";
    case PhaseMode::Align:
        break;
    }
    return "Align the fundamental (no combing)";
}

std::string FrameLengthText(const AudioFile &file, int choice) {
    if (choice == kWholeFile)
        return "Whole file as one cycle (" + GroupedNumber(file.Samples.size()) + " samples)";
    std::string text = std::to_string(choice) + " samples";
    if (file.TaggedFrameLength == choice)
        text += " (from the " + FrameSourceText(file.Source) + ")";
    return text;
}

exchange::ResynthSettings CyclesSettings(const AudioFile &file, const CyclesChoice &choice,
                                         int first, int last) {
    exchange::ResynthSettings settings;
    if (PitchEntered(choice.Pitch)) {
        settings.PitchHz = exchange::ParsePitch(choice.Pitch);
        if (!settings.PitchHz)
            throw Error(exchange::BadPitchText(choice.Pitch));
    }
    settings.Span = exchange::ChooseRegion(file, choice.Start, choice.End);
    settings.Phase = choice.Phase;
    settings.Normalise = choice.Normalise;
    settings.First = first;
    settings.Last = last;
    return settings;
}

void ImportAudio(const AudioFile &file, const ImportAudioAnswer &answer, int first, int last,
                 Wavetable &table) {
    if (answer.Mode == ImportAudioMode::Cycles) {
        CyclesChoice cycles = answer.Cycles;
        cycles.Normalise = answer.Normalise;
        exchange::StoreResynthesis(
            exchange::Resynthesise(file, CyclesSettings(file, cycles, first, last)), table);
        return;
    }
    exchange::ImportSettings settings;
    settings.FrameLength = answer.FrameLength;
    settings.Normalise = answer.Normalise;
    settings.First = first;
    settings.Last = last;
    exchange::ImportAudioFrames(file, settings, table);
}

ImportAudioChoices MakeImportAudioChoices(const AudioFile &file, int first, int last) {
    ImportAudioChoices choices;
    choices.FileName = file.ShownName;
    choices.FormatText = file.FormatText;
    choices.TagText = file.TaggedFrameLength > 0
                          ? FrameSourceText(file.Source) + ": " +
                                GroupedNumber(static_cast<std::uint64_t>(file.TaggedFrameLength)) +
                                " samples per frame"
                          : "No frame tag: choose the frame length";
    choices.FrameLengths = OfferedFrameLengths(file);
    for (int length : choices.FrameLengths)
        choices.FrameLengthTexts.push_back(FrameLengthText(file, length));
    const auto proposed = std::find(choices.FrameLengths.begin(), choices.FrameLengths.end(),
                                    ProposedFrameLength(file));
    choices.Proposed = static_cast<int>(proposed - choices.FrameLengths.begin());
    choices.First = first;
    choices.Last = last;
    const std::vector<int> lengths = choices.FrameLengths;
    const AudioFile *source = &file;
    auto lengthAt = [lengths](int index) {
        return index >= 0 && index < static_cast<int>(lengths.size())
                   ? lengths[static_cast<std::size_t>(index)]
                   : kWholeFile;
    };
    choices.FramesFound = [source, lengthAt](int index) {
        return FramesFoundText(*source, lengthAt(index));
    };
    choices.Mapping = [source, lengthAt, first, last](int index) {
        return DescribeMapping(FrameCount(*source, lengthAt(index)), first, last);
    };

    choices.Mode =
        exchange::LooksLikeRecording(file) ? ImportAudioMode::Cycles : ImportAudioMode::Frames;
    choices.Seconds = exchange::SecondsAt(file, static_cast<double>(file.Samples.size()));
    const exchange::Region region = exchange::DefaultRegion(file);
    choices.RegionStart = exchange::SecondsAt(file, static_cast<double>(region.Start));
    choices.RegionEnd = exchange::SecondsAt(file, static_cast<double>(region.End));
    choices.Recording = render::RecordingColumns(file.Samples, render::kRecordingWidth);
    choices.Cycles = [source, first, last](const CyclesChoice &choice) {
        return PreviewCycles(*source, choice, first, last);
    };
    return choices;
}

} // namespace morvane::ui
