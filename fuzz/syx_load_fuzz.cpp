// The .syx loader over any input: it never stores past the 64 messages, it takes only whole,
// well-formed messages, and the blocks the input arrives in do not change what it reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/error.h"
#include "document/wave_message.h"
#include "files/syx_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace morvane;
    const std::span<const std::uint8_t> bytes(data, size);

    Wavetable whole = fuzz::NewTable();
    Wavetable chunked = whole;

    // Both readings load the same, or both refuse the input with the same text.
    files::SyxLoadResult a;
    files::SyxLoadResult b;
    std::string refusedA;
    std::string refusedB;
    try {
        files::ByteReader memory(bytes);
        a = files::LoadWavetable(memory, whole);
    } catch (const Error &e) {
        refusedA = e.what();
    }
    try {
        files::ByteReader blocks = fuzz::ChunkedReader(bytes);
        b = files::LoadWavetable(blocks, chunked);
    } catch (const Error &e) {
        refusedB = e.what();
    }
    fuzz::Check(refusedA == refusedB);
    fuzz::Check(refusedA.empty() == (a.MessagesRead > 0));
    fuzz::Check(a.MessagesRead >= 0 && a.MessagesRead <= kWaveCount);
    fuzz::Check(a.MessagesBeyond == 0 || a.MessagesRead == kWaveCount);
    fuzz::Check(a.MessagesRead == b.MessagesRead && a.MessagesBeyond == b.MessagesBeyond);
    fuzz::Check(a.Damaged == b.Damaged && a.EndsInside == b.EndsInside && a.Overflow == b.Overflow);
    fuzz::Check(a.LastSlot == b.LastSlot && a.LastDevice == b.LastDevice);
    fuzz::Check(whole == chunked);
    for (int w = 0; w < a.MessagesRead; ++w)
        fuzz::Check(IsWellFormedWaveMessage(whole.MessageSpan(w)));
    return 0;
}
