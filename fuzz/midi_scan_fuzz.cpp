// Both passes of the MIDI import over any input: names are distinct regardless of letter case
// and 14 characters long, pass 2 copies at most 64 messages of the chosen name, and the blocks
// the input arrives in do not change either pass.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>

#include "document/wave_message.h"
#include "files/midi_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace morvane;
    const std::span<const std::uint8_t> bytes(data, size);

    files::ByteReader memory(bytes);
    const files::MidiNames names = files::ScanWavetableNames(memory);
    files::ByteReader blocks = fuzz::ChunkedReader(bytes);
    const files::MidiNames namesChunked = files::ScanWavetableNames(blocks);
    fuzz::Check(names.Names == namesChunked.Names);
    fuzz::Check(names.Skipped.Events == namesChunked.Skipped.Events &&
                names.Skipped.Damaged == namesChunked.Skipped.Damaged &&
                names.Skipped.EndsInside == namesChunked.Skipped.EndsInside);

    std::set<std::string> folded;
    for (const std::string &name : names.Names) {
        fuzz::Check(name.size() == kNameLength);
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        });
        fuzz::Check(folded.insert(lower).second);
    }
    if (names.Names.empty())
        return 0;

    // Pass 2 with the last name found (the first one in a file with one table).
    const std::string &chosen = names.Names.back();
    Wavetable table = fuzz::NewTable();
    Wavetable tableChunked = table;
    files::ByteReader memory2(bytes);
    const files::MidiCopy copy = files::CopyWavetableFromMidi(memory2, chosen, table);
    files::ByteReader blocks2 = fuzz::ChunkedReader(bytes);
    const files::MidiCopy copyChunked = files::CopyWavetableFromMidi(blocks2, chosen, tableChunked);
    fuzz::Check(copy.Count >= 1 && copy.Count <= kWaveCount);
    fuzz::Check(copy.Skipped.Events == names.Skipped.Events);
    fuzz::Check(copy.Count == copyChunked.Count && table == tableChunked);
    fuzz::Check(copy.LastSlot == copyChunked.LastSlot && copy.LastDevice == copyChunked.LastDevice);
    // Only whole, well-formed messages are taken.
    for (int w = 0; w < copy.Count; ++w)
        fuzz::Check(IsWellFormedWaveMessage(table.MessageSpan(w)));
    return 0;
}
