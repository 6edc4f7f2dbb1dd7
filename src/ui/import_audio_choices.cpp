#include "ui/import_audio_choices.h"

#include <algorithm>

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
using exchange::ProposedFrameLength;

std::string FrameLengthText(const AudioFile &file, int choice) {
    if (choice == kWholeFile)
        return "Whole file as one cycle (" + GroupedNumber(file.Samples.size()) + " samples)";
    std::string text = std::to_string(choice) + " samples";
    if (file.TaggedFrameLength == choice)
        text += " (from the " + FrameSourceText(file.Source) + ")";
    return text;
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
    return choices;
}

} // namespace morvane::ui
