#include "cli/audition_command.h"

#include <exception>
#include <iostream>
#include <optional>

#include "cli/options.h"
#include "exchange/float_wave.h"
#include "exchange/table_files.h"
#include "files/atomic_file.h"
#include "script/script_parser.h"
#include "synth/audition_render.h"

namespace morvane::cli {

namespace {

constexpr int kDefaultNote = 60;     // middle C
constexpr double kMaxSeconds = 60.0; // a scan through a table takes seconds, not minutes
constexpr int kMinRate = 8000;       // Hz, the lowest rate sound devices offer
constexpr int kMaxRate = 192000;     // Hz, the highest
constexpr int kMaxNote = 127;        // MIDI notes 0..127

const UsageText kUsage{
    "morvane-cli",
    "audition IN OUT.wav [--frequency HZ | --note N] [--position P] [--to P2]\n"
    "                    [--interpolation stepped|linear|spectral] [--seconds S] [--rate R]",
    "Renders one note of the table in IN into OUT.wav (mono, 32-bit float), as the audition\n"
    "plays it: the position moves linearly from P to P2 while the note is held for S seconds,\n"
    "then it is released over 50 ms.\n"
    "  --note N             MIDI note 0 to 127 (A4 = 69 = 440 Hz); default 60\n"
    "  --frequency HZ       any pitch above 0 and below R / 2, instead of --note\n"
    "  --position P         position at the start, 1 to 64; default 1\n"
    "  --to P2              position at the end, 1 to 64; default P\n"
    "  --interpolation M    stepped, linear (default) or spectral\n"
    "  --seconds S          how long the note is held, above 0 and at most 60; default 2\n"
    "  --rate R             sample rate, 8000 to 192000 Hz; default 44100\n"};

// A number by the parser's rule, within [lo, hi] (lo itself excluded unless loIncluded).
OptionParser::Take RangedNumber(const std::string &option, const std::string &what, double lo,
                                double hi, bool loIncluded, std::optional<double> &target) {
    return [=, &target](const std::string &word) {
        const std::optional<double> x = script::ParseNumber(word);
        if (!x || *x < lo || *x > hi || (!loIncluded && *x == lo))
            throw UsageError(option + " takes " + what + ", not " + word);
        target = *x;
    };
}

// The render the words ask for; throws UsageError.
synth::AuditionRender ReadRequest(const std::vector<std::string> &args,
                                  std::vector<std::string> &paths) {
    std::optional<int> note;
    std::optional<int> rate;
    std::optional<double> frequency;
    std::optional<double> from;
    std::optional<double> to;
    std::optional<double> seconds;
    std::string mode = "linear";
    const std::string position = "a position from 1 to 64";
    OptionParser()
        .Whole("--note", "a MIDI note from 0 to 127", note, 0, kMaxNote)
        .Value("--frequency",
               RangedNumber("--frequency", "a frequency in Hz", 0.0, 1e9, false, frequency))
        .Value("--position", RangedNumber("--position", position, synth::kMinPosition,
                                          synth::kMaxPosition, true, from))
        .Value("--to",
               RangedNumber("--to", position, synth::kMinPosition, synth::kMaxPosition, true, to))
        .Choice("--interpolation", {"stepped", "linear", "spectral"}, mode)
        .Value("--seconds", RangedNumber("--seconds", "seconds above 0, at most 60", 0.0,
                                         kMaxSeconds, false, seconds))
        .Whole("--rate", "8000 to 192000 Hz", rate, kMinRate, kMaxRate)
        .Positional([&paths](const std::string &path) { paths.push_back(path); })
        .Parse(args);
    if (paths.size() != 2)
        throw UsageError("audition needs IN and OUT.wav");
    if (note && frequency)
        throw UsageError("give --note or --frequency, not both");

    synth::AuditionRender request;
    request.SampleRate = rate.value_or(44100);
    request.Frequency = frequency.value_or(synth::NoteFrequency(note.value_or(kDefaultNote)));
    if (request.Frequency >= request.SampleRate / 2)
        throw UsageError("the pitch must stay below half the rate (" +
                         std::to_string(static_cast<int>(request.SampleRate / 2)) + " Hz)");
    request.From = from.value_or(synth::kMinPosition);
    request.To = to.value_or(request.From);
    request.Mode = mode == "stepped"    ? synth::Interpolation::Stepped
                   : mode == "spectral" ? synth::Interpolation::Spectral
                                        : synth::Interpolation::Linear;
    request.Seconds = seconds.value_or(request.Seconds);
    return request;
}

} // namespace

int AuditionCommand(int &, char **, const std::vector<std::string> &args) {
    std::vector<std::string> paths;
    synth::AuditionRender request;
    try {
        request = ReadRequest(args, paths);
    } catch (const UsageError &e) {
        return ReportUsage(std::cerr, kUsage, e.what());
    }
    try {
        exchange::LoadReport report;
        const Wavetable table = exchange::LoadTableFile(paths[0], {}, report);
        // As convert: a table read only in part is not what the user asked to hear.
        if (report.Incomplete) {
            std::cerr << "morvane-cli audition: " << report.Text << " Nothing was written.\n";
            return 1;
        }
        const std::vector<float> samples = synth::RenderAudition(table, request);
        files::WriteFileAtomically(
            paths[1],
            exchange::FloatWaveBytes(samples, static_cast<std::uint32_t>(request.SampleRate)));
    } catch (const std::exception &e) {
        std::cerr << "morvane-cli audition: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace morvane::cli
