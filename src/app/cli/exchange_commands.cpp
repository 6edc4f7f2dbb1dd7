#include "cli/exchange_commands.h"

#include <exception>
#include <iostream>
#include <optional>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "document/decimal.h"
#include "document/error.h"
#include "exchange/table_files.h"
#include "files/atomic_file.h"
#include "render/table_picture.h"
#include "script/script_parser.h"
#include "ui/qt/waterfall_picture.h"

namespace morvane::cli {

namespace {

// The options the three commands share; the words that are no option are the files.
struct Options {
    std::vector<std::string> Files;
    std::optional<exchange::TableFormat> To;
    exchange::LoadOptions Load;
    std::optional<int> Slot;
    std::string View = "table"; // render: table, waterfall or spectrogram
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

Options ParseOptions(const std::vector<std::string> &args, bool withTo) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &word = args[i];
        auto value = [&]() -> const std::string & {
            if (i + 1 >= args.size())
                throw UsageError(word + " needs a value");
            return args[++i];
        };
        if (withTo && word == "--to") {
            const std::string &format = value();
            options.To = exchange::ParseTableFormat(format);
            if (!options.To)
                throw UsageError("--to takes syx, mid, wav or wav2048, not " + format);
        } else if (word == "--name") {
            options.Load.MidiName = value();
        } else if (word == "--frame-length") {
            const std::string &length = value();
            if (length == "whole") {
                options.Load.FrameLength = 0;
            } else {
                const std::optional<int> n = ParseDecimal(length);
                if (!n || *n <= 0)
                    throw UsageError("--frame-length takes a number of samples or whole, not " +
                                     length);
                options.Load.FrameLength = *n;
            }
        } else if (!withTo && word == "--view") {
            options.View = value();
            if (options.View != "table" && options.View != "waterfall" &&
                options.View != "spectrogram")
                throw UsageError("--view takes table, waterfall or spectrogram, not " +
                                 options.View);
        } else if (word == "--keep-level") {
            options.Load.Normalise = false;
        } else if (withTo && word == "--slot") {
            const std::string &slot = value();
            options.Slot = ParseDecimal(slot);
            if (!options.Slot)
                throw UsageError("--slot takes a number from 80 to 118, not " + slot);
        } else if (word.size() > 1 && word[0] == '-' && word[1] == '-') {
            throw UsageError("unknown option " + word);
        } else {
            options.Files.push_back(word);
        }
    }
    return options;
}

constexpr const char *kLoadOptionsHelp =
    "  --name NAME          the wavetable of a MIDI file (the first one otherwise)\n"
    "  --frame-length N     audio files: samples per frame, or whole (the file's tag or\n"
    "                       the usual proposal otherwise)\n"
    "  --keep-level         audio files: keep the file's level instead of normalising\n";

int Usage(const std::string &problem, const std::string &synopsis, const std::string &more) {
    std::cerr << "morvane-cli: " << problem << "\nusage: morvane-cli " << synopsis << "\n" << more;
    return 2;
}

int Failed(const std::string &command, const std::exception &e) {
    std::cerr << "morvane-cli " << command << ": " << e.what() << "\n";
    return 1;
}

} // namespace

int ConvertCommand(int &, char **, const std::vector<std::string> &args) {
    const std::string synopsis = "convert IN OUT [--to syx|mid|wav|wav2048] [OPTIONS]";
    const std::string more =
        std::string("IN is read by its content: .syx, .mid, Morvane's own .wav or any audio file\n"
                    "the import reads. OUT's format comes from --to or from its name: .syx, .mid,\n"
                    ".wav (Morvane's own), or a .wav whose name ends in 2048 (pad-2048.wav) for\n"
                    "the 64 x 2048 export that other synths load.\n") +
        kLoadOptionsHelp +
        "  --slot N             the slot stamped into .syx and .mid (80 to 118)\n";
    Options options;
    try {
        options = ParseOptions(args, true);
    } catch (const UsageError &e) {
        return Usage(e.what(), synopsis, more);
    }
    if (options.Files.size() != 2)
        return Usage("convert needs IN and OUT", synopsis, more);
    const std::string &out = options.Files[1];
    const std::optional<exchange::TableFormat> format =
        options.To ? options.To : exchange::TableFormatFromName(out);
    if (!format)
        return Usage("cannot tell the format of " + out + " from its name: give --to", synopsis,
                     more);
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
    if (args.size() != 1)
        return Usage("info needs one FILE", "info FILE", "");
    try {
        for (const std::string &line : exchange::DescribeTableFile(args[0]))
            std::cout << line << "\n";
    } catch (const std::exception &e) {
        return Failed("info", e);
    }
    return 0;
}

int RenderCommand(int &, char **, const std::vector<std::string> &args) {
    const std::string synopsis = "render IN OUT.png [--view table|waterfall|spectrogram] [OPTIONS]";
    const std::string more =
        std::string("  --view V             table: the overview and the 64 waves (default);\n"
                    "                       waterfall or spectrogram: 800 x 600 pictures\n") +
        kLoadOptionsHelp;
    Options options;
    try {
        options = ParseOptions(args, false);
    } catch (const UsageError &e) {
        return Usage(e.what(), synopsis, more);
    }
    if (options.Files.size() != 2)
        return Usage("render needs IN and OUT.png", synopsis, more);
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
