// The .syx loader over any input: it never stores past the 64 messages, and the blocks the
// input arrives in do not change what it reads.
#include <cstddef>
#include <cstdint>

#include "document/wave_message.h"
#include "files/syx_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace morvane;
    const std::span<const std::uint8_t> bytes(data, size);

    Wavetable whole = fuzz::NewTable();
    Wavetable chunked = whole;

    files::ByteReader memory(bytes);
    const files::SyxLoadResult a = files::LoadWavetable(memory, whole);
    files::ByteReader blocks = fuzz::ChunkedReader(bytes);
    const files::SyxLoadResult b = files::LoadWavetable(blocks, chunked);

    fuzz::Check(a.MessagesRead >= 0 && a.MessagesRead <= kWaveCount);
    fuzz::Check(a.MessagesBeyond == 0 || a.MessagesRead == kWaveCount);
    fuzz::Check(a.Error.empty());
    fuzz::Check(a.MessagesRead == b.MessagesRead && a.MessagesBeyond == b.MessagesBeyond);
    fuzz::Check(a.LastSlot == b.LastSlot && a.LastDevice == b.LastDevice);
    fuzz::Check(whole == chunked);
    for (int w = 0; w < a.MessagesRead; ++w)
        fuzz::Check(whole.Message(w)[kOffsetStart] == kSysExStart);
    return 0;
}
