#include "cli/exchange_commands.h"

#include <exception>
#include <iostream>
#include <optional>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "cli/options.h"
#include "document/decimal.h"
#include "document/error.h"
#include "exchange/table_files.h"
#include "files/atomic_file.h"
#include "render/table_picture.h"
#include "ui/qt/waterfall_picture.h"

namespace morvane::cli {

namespace {

// What the commands read from their words; the words that are no option are the files.
struct Options {
    std::vector<std::string> Files;
    std::optional<exchange::TableFormat> To;
    exchange::LoadOptions Load;
    std::optional<int> Slot;
    std::string View = "table"; // render: table, waterfall or spectrogram
};

// The files and the options that say how IN is read, which convert and render share.
OptionParser LoadOptionParser(Options &options) {
    OptionParser parser;
    parser.Value("--name", [&options](const std::string &name) { options.Load.MidiName = name; })
        .Value("--frame-length",
               [&options](const std::string &length) {
                   if (length == "whole") {
                       options.Load.FrameLength = 0;
                       return;
                   }
                   const std::optional<int> n = ParseDecimal(length);
                   if (!n || *n <= 0)
                       throw UsageError("--frame-length takes a number of samples or whole, not " +
                                        length);
                   options.Load.FrameLength = *n;
               })
        .Flag("--keep-level", [&options] { options.Load.Normalise = false; })
        .Positional([&options](const std::string &file) { options.Files.push_back(file); });
    return parser;
}

constexpr const char *kLoadOptionsHelp =
    "  --name NAME          the wavetable of a MIDI file (the first one otherwise)\n"
    "  --frame-length N     audio files: samples per frame, or whole (the file's tag or\n"
    "                       the usual proposal otherwise)\n"
    "  --keep-level         audio files: keep the file's level instead of normalising\n";

int Failed(const std::string &command, const std::exception &e) {
    std::cerr << "morvane-cli " << command << ": " << e.what() << "\n";
    return 1;
}

} // namespace

int ConvertCommand(int &, char **, const std::vector<std::string> &args) {
    const UsageText usage{
        "morvane-cli", "convert IN OUT [--to syx|mid|wav|wav2048] [OPTIONS]",
        std::string("IN is read by its content: .syx, .mid, Morvane's own .wav or any audio file\n"
                    "the import reads. OUT's format comes from --to or from its name: .syx, .mid,\n"
                    ".wav (Morvane's own), or a .wav whose name ends in 2048 (pad-2048.wav) for\n"
                    "the 64 x 2048 export that other synths load.\n") +
            kLoadOptionsHelp +
            "  --slot N             the slot stamped into .syx and .mid (80 to 118)\n"};
    Options options;
    OptionParser parser = LoadOptionParser(options);
    parser
        .Value("--to",
               [&options](const std::string &format) {
                   options.To = exchange::ParseTableFormat(format);
                   if (!options.To)
                       throw UsageError("--to takes syx, mid, wav or wav2048, not " + format);
               })
        .Whole("--slot", "a number from 80 to 118", options.Slot);
    try {
        parser.Parse(args);
    } catch (const UsageError &e) {
        return ReportUsage(std::cerr, usage, e.what());
    }
    if (options.Files.size() != 2)
        return ReportUsage(std::cerr, usage, "convert needs IN and OUT");
    const std::string &out = options.Files[1];
    const std::optional<exchange::TableFormat> format =
        options.To ? options.To : exchange::TableFormatFromName(out);
    if (!format)
        return ReportUsage(std::cerr, usage,
                           "cannot tell the format of " + out + " from its name: give --to");
    try {
        exchange::LoadReport report;
        const Wavetable table = exchange::LoadTableFile(options.Files[0], options.Load, report);
        // As the window's box: what was skipped, and waves the instrument cannot take. A batch
        // has nobody to judge a file read only in part, so it writes nothing from one.
        if (report.Incomplete) {
            std::cerr << "morvane-cli convert: " << report.Text << " Nothing was written.\n";
            return 1;
        }
        if (!report.Text.empty())
            std::cerr << "morvane-cli convert: " << report.Text << "\n";
        exchange::SaveTableFile(out, *format, table, options.Slot);
    } catch (const std::exception &e) {
        return Failed("convert", e);
    }
    return 0;
}

int InfoCommand(int &, char **, const std::vector<std::string> &args) {
    const UsageText usage{"morvane-cli", "info FILE"};
    Options options;
    try {
        OptionParser()
            .Positional([&options](const std::string &file) { options.Files.push_back(file); })
            .Parse(args);
    } catch (const UsageError &e) {
        return ReportUsage(std::cerr, usage, e.what());
    }
    if (options.Files.size() != 1)
        return ReportUsage(std::cerr, usage, "info needs one FILE");
    try {
        for (const std::string &line : exchange::DescribeTableFile(options.Files[0]))
            std::cout << line << "\n";
    } catch (const std::exception &e) {
        return Failed("info", e);
    }
    return 0;
}

int RenderCommand(int &, char **, const std::vector<std::string> &args) {
    const UsageText usage{
        "morvane-cli", "render IN OUT.png [--view table|waterfall|spectrogram] [OPTIONS]",
        std::string("  --view V             table: the overview and the 64 waves (default);\n"
                    "                       waterfall or spectrogram: 800 x 600 pictures\n") +
            kLoadOptionsHelp};
    Options options;
    OptionParser parser = LoadOptionParser(options);
    parser.Choice("--view", {"table", "waterfall", "spectrogram"}, options.View);
    try {
        parser.Parse(args);
    } catch (const UsageError &e) {
        return ReportUsage(std::cerr, usage, e.what());
    }
    if (options.Files.size() != 2)
        return ReportUsage(std::cerr, usage, "render needs IN and OUT.png");
    try {
        const Wavetable table = exchange::LoadTableFile(options.Files[0], options.Load);
        QImage image;
        if (options.View == "waterfall") {
            image = qt::RenderWaterfall(table, ui::WaterfallGeometry{},
                                        qt::WaterfallMarks{0, false, 1, 64});
        } else if (options.View == "spectrogram") {
            ui::SpectrogramLevels levels;
            ui::ComputeSpectrogram(table, levels);
            image = qt::RenderSpectrogram(levels, 800, 600, 0);
        } else {
            const render::Canvas picture = render::RenderTable(table);
            // The canvas is 0xFFRRGGBB per pixel, the layout of QImage's RGB32.
            image = QImage(reinterpret_cast<const uchar *>(picture.Data()), picture.Width(),
                           picture.Height(), picture.Width() * 4, QImage::Format_RGB32)
                        .copy();
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw Error("The picture could not be encoded as PNG.");
        files::WriteFileAtomically(
            options.Files[1], std::span(reinterpret_cast<const std::uint8_t *>(png.constData()),
                                        static_cast<std::size_t>(png.size())));
    } catch (const std::exception &e) {
        return Failed("render", e);
    }
    return 0;
}

} // namespace morvane::cli
