#include "exchange/table_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>
#include <memory>
#include <set>

#include "document/error.h"
#include "exchange/audio_import.h"
#include "exchange/limits.h"
#include "exchange/wavetable_export.h"
#include "files/byte_reader.h"
#include "files/midi_file.h"
#include "files/syx_file.h"
#include "files/wave_file.h"

namespace morvane::exchange {

namespace {

namespace fs = std::filesystem;

enum class FileKind { Syx, Midi, MorvaneWav, Audio };

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string ShownName(const std::string &path) {
    return "\"" + fs::path(path).filename().string() + "\"";
}

std::vector<std::uint8_t> ReadPrefix(const std::string &path, std::size_t n) {
    // Only the head is read; the reader of the kind found applies its own cap.
    files::ByteReader reader(
        files::OpenFileSource(path, std::numeric_limits<std::uint64_t>::max()));
    std::vector<std::uint8_t> bytes(n);
    bytes.resize(reader.Read(bytes));
    return bytes;
}

bool IsMorvaneWav(const std::vector<std::uint8_t> &bytes) {
    return files::IsMorvaneWaveBytes(bytes);
}

FileKind KindOf(const std::string &path, std::vector<std::uint8_t> &head) {
    // The own WAV is recognised by all its bytes; the others by their first ones.
    head = ReadPrefix(path, files::kWaveFileSize + 1);
    if (head.size() >= 4 && std::string(head.begin(), head.begin() + 4) == "MThd")
        return FileKind::Midi;
    if (IsMorvaneWav(head))
        return FileKind::MorvaneWav;
    if (!head.empty() && head[0] == kSysExStart)
        return FileKind::Syx;
    if (Lower(fs::path(path).extension().string()) == ".syx")
        return FileKind::Syx;
    return FileKind::Audio;
}

// Morvane's own files, ".syx" and ".mid" hold waves, not a sound with a pitch.
[[noreturn]] void NoRecording(const std::string &path) {
    throw Error(ShownName(path) + " is a wavetable, not a recording: pitch and resynthesis take "
                                  "an audio file.");
}

// The file's name, without its extension, as the table's name.
void NameAfterFile(Wavetable &table, const std::string &path) {
    std::string stem = fs::path(path).stem().string();
    for (char &c : stem)
        c = SanitizeNameChar(c);
    WriteNameToAll(table, TrimmedPaddedName(stem));
}

void LoadMorvaneWav(const std::vector<std::uint8_t> &bytes, Wavetable &table) {
    // Taken as the values they are: no scaling, so that a table comes back exactly.
    for (int s = 0; s < files::kWaveSampleCount; ++s) {
        files::WaveSample sample{};
        const std::size_t at =
            files::kWaveHeaderSize + files::kWaveSampleSize * static_cast<std::size_t>(s);
        std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                  bytes.begin() + static_cast<std::ptrdiff_t>(at + files::kWaveSampleSize),
                  sample.begin());
        WriteSample(table, s / kSampleCount, s % kSampleCount,
                    static_cast<std::int32_t>(files::WaveSampleValue(sample)));
    }
}

void LoadSyx(const std::string &path, Wavetable &table, LoadReport &report) {
    const files::SyxLoadResult result = files::LoadWavetableFromFile(path, table);
    report = {result.ReportText(), result.EndsInside > 0 || result.Damaged > 0};
}

void LoadMidi(const std::string &path, const std::string &wanted, Wavetable &table,
              LoadReport &report) {
    std::string name = wanted;
    {
        files::ByteReader reader(files::OpenFileSource(path));
        const files::MidiNames names = files::ScanWavetableNames(reader);
        if (names.Names.empty())
            throw Error(ShownName(path) + " holds no wavetable." + names.Skipped.Text());
        if (name.empty()) {
            name = names.Names.front();
        } else if (std::find(names.Names.begin(), names.Names.end(), name) == names.Names.end()) {
            std::string list;
            for (const std::string &n : names.Names)
                list += (list.empty() ? "\"" : ", \"") + n + "\"";
            throw Error(ShownName(path) + " holds no wavetable named \"" + name + "\"; it holds " +
                        list + ".");
        }
    }
    files::ByteReader reader(files::OpenFileSource(path));
    const files::MidiCopy copy = files::CopyWavetableFromMidi(reader, name, table);
    if (copy.Count == 0)
        throw Error(ShownName(path) + " holds no wavetable." + copy.Skipped.Text());
    report = {copy.ReportText(), copy.Skipped.EndsInside > 0 || copy.Skipped.Damaged > 0};
}

std::string Trimmed(const std::string &text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string MessageName(const Wavetable &table, int w) {
    const std::uint8_t *name = table.Message(w) + kOffsetName;
    return Trimmed(std::string(name, name + kNameLength));
}

std::string Joined(const std::vector<std::string> &items) {
    std::string text;
    for (const std::string &item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::uint8_t SlotOf(const Wavetable &table, std::optional<int> slot) {
    if (slot) {
        if (*slot < kFirstSlot || *slot > kLastSlot)
            throw Error("The slot " + std::to_string(*slot) + " is none of 80 to 118.");
        return static_cast<std::uint8_t>(*slot);
    }
    const std::uint8_t held = table.Message(0)[kOffsetSlot];
    return held >= kFirstSlot && held <= kLastSlot ? held : static_cast<std::uint8_t>(kFirstSlot);
}

} // namespace

std::optional<TableFormat> ParseTableFormat(const std::string &word) {
    const std::string w = Lower(word);
    if (w == "syx")
        return TableFormat::Syx;
    if (w == "mid" || w == "midi")
        return TableFormat::Midi;
    if (w == "wav")
        return TableFormat::MorvaneWav;
    if (w == "wav2048")
        return TableFormat::Wav2048;
    return std::nullopt;
}

std::optional<TableFormat> TableFormatFromName(const std::string &path) {
    const fs::path p(path);
    const std::string extension = Lower(p.extension().string());
    if (extension == ".syx")
        return TableFormat::Syx;
    if (extension == ".mid" || extension == ".midi")
        return TableFormat::Midi;
    if (extension == ".wav") {
        const std::string stem = p.stem().string();
        constexpr std::string_view kMark = "2048";
        if (stem.size() >= kMark.size() &&
            stem.compare(stem.size() - kMark.size(), kMark.size(), kMark) == 0)
            return TableFormat::Wav2048;
        return TableFormat::MorvaneWav;
    }
    return std::nullopt;
}

Wavetable LoadTableFile(const std::string &path, const LoadOptions &options) {
    LoadReport report;
    return LoadTableFile(path, options, report);
}

Wavetable LoadTableFile(const std::string &path, const LoadOptions &options, LoadReport &report) {
    report = {};
    Wavetable table;
    FillNewWavetable(table, 0);
    std::vector<std::uint8_t> head;
    const FileKind kind = KindOf(path, head);
    if (options.Resynth && kind != FileKind::Audio)
        NoRecording(path);
    switch (kind) {
    case FileKind::Midi:
        LoadMidi(path, options.MidiName, table, report);
        break;
    case FileKind::MorvaneWav:
        LoadMorvaneWav(head, table);
        NameAfterFile(table, path);
        break;
    case FileKind::Syx:
        LoadSyx(path, table, report);
        break;
    case FileKind::Audio: {
        const AudioFile file = ReadAudioFile(path);
        if (options.Resynth) {
            ResynthSettings resynth;
            resynth.Span =
                ChooseRegion(file, options.Resynth->StartSeconds, options.Resynth->EndSeconds);
            resynth.PitchHz = options.Resynth->PitchHz;
            resynth.Phase = options.Resynth->Phase;
            resynth.Normalise = options.Normalise;
            StoreResynthesis(Resynthesise(file, resynth), table);
            NameAfterFile(table, path);
            break;
        }
        ImportSettings settings;
        settings.FrameLength =
            options.FrameLength ? *options.FrameLength : ProposedFrameLength(file);
        settings.Normalise = options.Normalise;
        ImportAudioFrames(file, settings, table);
        NameAfterFile(table, path);
        break;
    }
    }
    return table;
}

void SaveTableFile(const std::string &path, TableFormat format, const Wavetable &table,
                   std::optional<int> slot) {
    Wavetable copy = table;
    switch (format) {
    case TableFormat::Syx: {
        files::SyxSaveRequest request;
        request.First = 1;
        request.Last = kWaveCount;
        request.NameField = TrimmedNameOfFirstWave(table);
        request.Slot = SlotOf(table, slot);
        files::SaveWavetableToFile(path, copy, request);
        break;
    }
    case TableFormat::Midi:
        files::WriteMidiFile(path, copy, TrimmedNameOfFirstWave(table), SlotOf(table, slot));
        break;
    case TableFormat::MorvaneWav: {
        // About 32 KB: not on the stack.
        auto buffers = std::make_unique<files::WaveBuffers>();
        files::PrepareWaveExport(table, *buffers);
        files::WriteWaveFile(path, *buffers);
        break;
    }
    case TableFormat::Wav2048:
        ExportWavetable2048(path, table);
        break;
    }
}

std::string DescribePitch(const std::string &path) {
    std::vector<std::uint8_t> head;
    if (KindOf(path, head) != FileKind::Audio)
        NoRecording(path);
    const AudioFile file = ReadAudioFile(path);
    return PitchLine(TrackPitch(file, DefaultRegion(file)).MedianPeriod, file.SampleRate);
}

std::vector<std::string> DescribeTableFile(const std::string &path) {
    std::vector<std::string> lines = {"file: " + ShownName(path)};
    std::vector<std::uint8_t> head;
    const FileKind kind = KindOf(path, head);
    if (kind == FileKind::Audio) {
        const AudioFile file = ReadAudioFile(path);
        const int proposed = ProposedFrameLength(file);
        lines.push_back("kind: audio file");
        lines.push_back("format: " + file.FormatText);
        lines.push_back("samples: " + GroupedNumber(file.Samples.size()));
        lines.push_back("frame tag: " + (file.TaggedFrameLength > 0
                                             ? FrameSourceText(file.Source) + ", " +
                                                   GroupedNumber(static_cast<std::uint64_t>(
                                                       file.TaggedFrameLength)) +
                                                   " samples per frame"
                                             : std::string("none")));
        lines.push_back("proposed frame length: " +
                        (proposed == kWholeFile
                             ? std::string("the whole file")
                             : GroupedNumber(static_cast<std::uint64_t>(proposed))));
        lines.push_back("frames: " + FramesFoundText(file, proposed));
        return lines;
    }
    if (kind == FileKind::MorvaneWav) {
        lines.push_back("kind: Morvane WAV");
        lines.push_back("samples: 8,192, 64 waves of 128");
        return lines;
    }
    Wavetable table;
    FillNewWavetable(table, 0);
    if (kind == FileKind::Syx) {
        const files::SyxLoadResult result = files::LoadWavetableFromFile(path, table);
        lines.push_back("kind: System Exclusive");
        lines.push_back("messages: " + std::to_string(result.MessagesRead + result.MessagesBeyond) +
                        (result.MessagesBeyond > 0 ? " (the first 64 are loaded)" : ""));
        std::vector<std::string> names;
        std::set<int> slots;
        std::set<int> devices;
        for (int w = 0; w < result.MessagesRead; ++w) {
            const std::string name = "\"" + MessageName(table, w) + "\"";
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
            slots.insert(table.Message(w)[kOffsetSlot]);
            devices.insert(table.Message(w)[kOffsetDevice]);
        }
        auto numbers = [](const std::set<int> &values) {
            std::vector<std::string> texts;
            for (int v : values)
                texts.push_back(std::to_string(v));
            return Joined(texts);
        };
        lines.push_back("names: " + Joined(names));
        lines.push_back("slot: " + numbers(slots));
        lines.push_back("device: " + numbers(devices));
        return lines;
    }
    // A MIDI file: each wavetable it holds, with its messages and slot.
    files::ByteReader reader(files::OpenFileSource(path));
    const files::MidiNames names = files::ScanWavetableNames(reader);
    lines.push_back("kind: Standard MIDI File");
    lines.push_back("wavetables: " + std::to_string(names.Names.size()));
    for (const std::string &name : names.Names) {
        files::ByteReader again(files::OpenFileSource(path));
        const files::MidiCopy copy = files::CopyWavetableFromMidi(again, name, table);
        lines.push_back("wavetable: \"" + Trimmed(name) + "\", " + std::to_string(copy.Count) +
                        " messages, slot " + std::to_string(copy.LastSlot));
    }
    return lines;
}

} // namespace morvane::exchange
