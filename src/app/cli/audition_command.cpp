#include "cli/audition_command.h"

#include <exception>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "document/decimal.h"
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

constexpr const char *kSynopsis =
    "audition IN OUT.wav [--frequency HZ | --note N] [--position P] [--to P2]\n"
    "                    [--interpolation stepped|linear|spectral] [--seconds S] [--rate R]";
constexpr const char *kMore =
    "Renders one note of the table in IN into OUT.wav (mono, 32-bit float), as the audition\n"
    "plays it: the position moves linearly from P to P2 while the note is held for S seconds,\n"
    "then it is released over 50 ms.\n"
    "  --note N             MIDI note 0 to 127 (A4 = 69 = 440 Hz); default 60\n"
    "  --frequency HZ       any pitch above 0 and below R / 2, instead of --note\n"
    "  --position P         position at the start, 1 to 64; default 1\n"
    "  --to P2              position at the end, 1 to 64; default P\n"
    "  --interpolation M    stepped, linear (default) or spectral\n"
    "  --seconds S          how long the note is held, above 0 and at most 60; default 2\n"
    "  --rate R             sample rate, 8000 to 192000 Hz; default 44100\n";

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct AuditionOptions {
    std::vector<std::string> Files;
    std::optional<int> Note;
    std::optional<double> Frequency;
    std::optional<double> To;
    synth::AuditionRender Render;
};

double Number(const std::string &option, const std::string &text, double lo, double hi,
              bool loIncluded, const std::string &range) {
    const std::optional<double> value = script::ParseNumber(text);
    if (!value || *value > hi || *value < lo || (!loIncluded && *value == lo))
        throw UsageError(option + " takes " + range + ", not " + text);
    return *value;
}

AuditionOptions ParseAuditionOptions(const std::vector<std::string> &args) {
    AuditionOptions options;
    options.Render.Frequency = synth::NoteFrequency(kDefaultNote);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &word = args[i];
        auto value = [&]() -> const std::string & {
            if (i + 1 >= args.size())
                throw UsageError(word + " needs a value");
            return args[++i];
        };
        if (word == "--note") {
            const std::string &text = value();
            options.Note = ParseDecimal(text);
            if (!options.Note || *options.Note < 0 || *options.Note > kMaxNote)
                throw UsageError("--note takes a MIDI note from 0 to 127, not " + text);
        } else if (word == "--frequency") {
            // Checked against the rate once every option is read.
            options.Frequency = Number(word, value(), 0.0, 1e9, false, "a frequency in Hz");
        } else if (word == "--position") {
            options.Render.From = Number(word, value(), synth::kMinPosition, synth::kMaxPosition,
                                         true, "a position from 1 to 64");
        } else if (word == "--to") {
            options.To = Number(word, value(), synth::kMinPosition, synth::kMaxPosition, true,
                                "a position from 1 to 64");
        } else if (word == "--interpolation") {
            const std::string &mode = value();
            if (mode == "stepped")
                options.Render.Mode = synth::Interpolation::Stepped;
            else if (mode == "linear")
                options.Render.Mode = synth::Interpolation::Linear;
            else if (mode == "spectral")
                options.Render.Mode = synth::Interpolation::Spectral;
            else
                throw UsageError("--interpolation takes stepped, linear or spectral, not " + mode);
        } else if (word == "--seconds") {
            options.Render.Seconds =
                Number(word, value(), 0.0, kMaxSeconds, false, "seconds above 0, at most 60");
        } else if (word == "--rate") {
            const std::string &text = value();
            const std::optional<int> rate = ParseDecimal(text);
            if (!rate || *rate < kMinRate || *rate > kMaxRate)
                throw UsageError("--rate takes 8000 to 192000 Hz, not " + text);
            options.Render.SampleRate = *rate;
        } else if (word.size() > 1 && word[0] == '-' && word[1] == '-') {
            throw UsageError("unknown option " + word);
        } else {
            options.Files.push_back(word);
        }
    }
    if (options.Files.size() != 2)
        throw UsageError("audition needs IN and OUT.wav");
    if (options.Note && options.Frequency)
        throw UsageError("give --note or --frequency, not both");
    if (options.Note)
        options.Render.Frequency = synth::NoteFrequency(*options.Note);
    if (options.Frequency) {
        if (*options.Frequency >= options.Render.SampleRate / 2)
            throw UsageError("--frequency must stay below half the rate (" +
                             std::to_string(static_cast<int>(options.Render.SampleRate / 2)) +
                             " Hz)");
        options.Render.Frequency = *options.Frequency;
    }
    options.Render.To = options.To.value_or(options.Render.From);
    return options;
}

} // namespace

int AuditionCommand(int &, char **, const std::vector<std::string> &args) {
    AuditionOptions options;
    try {
        options = ParseAuditionOptions(args);
    } catch (const UsageError &e) {
        std::cerr << "morvane-cli: " << e.what() << "\nusage: morvane-cli " << kSynopsis << "\n"
                  << kMore;
        return 2;
    }
    try {
        exchange::LoadReport report;
        const Wavetable table = exchange::LoadTableFile(options.Files[0], {}, report);
        // As convert: a table read only in part is not what the user asked to hear.
        if (report.Incomplete) {
            std::cerr << "morvane-cli audition: " << report.Text << " Nothing was written.\n";
            return 1;
        }
        const std::vector<float> samples = synth::RenderAudition(table, options.Render);
        files::WriteFileAtomically(
            options.Files[1], exchange::FloatWaveBytes(
                                  samples, static_cast<std::uint32_t>(options.Render.SampleRate)));
    } catch (const std::exception &e) {
        std::cerr << "morvane-cli audition: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace morvane::cli
