#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The one reader of the chunked containers that audio files come in (RIFF/WAVE, FORM/AIFF) and
// of the tags that other synthesizers leave in them. Every input is untrusted: sizes are checked
// against what the file holds before anything is taken, and a chunk is only ever handed out as
// a view into the bytes actually present.
namespace morvane::exchange {

using FourCc = std::array<char, 4>;

enum class Container { None, Riff, Aiff };

struct Chunk {
    FourCc Id{};
    std::span<const std::uint8_t> Data; // the chunk's bytes, never past the end of the file
};

struct FileChunks {
    Container Kind = Container::None;
    std::vector<Chunk> Chunks; // in file order
    // A chunk whose declared size runs past the end of the file: the file was cut short.
    bool Truncated = false;
    FourCc TruncatedId{};
    std::uint64_t TruncatedDeclared = 0; // bytes the chunk declares
    std::uint64_t TruncatedPresent = 0;  // bytes the file still holds for it

    // The first chunk with this id, if any.
    const Chunk *Find(const char (&id)[5]) const;
};

// Walks the chunks of a RIFF/WAVE or FORM/AIFF(-C) file; any other file gives Kind None and no
// chunks. The walk ends at the end of the file whatever the outer size says (writers often get
// it wrong); a 'data' chunk of size FFFFFFFF (written while streaming) reaches to the end.
FileChunks ReadChunks(std::span<const std::uint8_t> file);

// The frame length a tag gives, or none when the tag gives none that makes sense.
//
// 'clm ': text beginning "<!>" and the frame length in decimal ("<!>2048 10000000 ...").
std::optional<int> ClmFrameLength(std::span<const std::uint8_t> data);
// 'srge': version (32 bits) and frame size (32 bits), little-endian.
std::optional<int> SrgeFrameLength(std::span<const std::uint8_t> data);
// 'cue ': the spacing of the cue points when they fall at a regular spacing from the start of
// the file (at least two distinct points, all positions multiples of the spacing).
std::optional<int> CueSpacing(std::span<const std::uint8_t> data, std::uint64_t totalSamples);
// 'smpl': the length of the first loop, end inclusive as the format has it (a loop whose end
// lies at the end of the file is taken as written with an exclusive end).
std::optional<int> SmplLoopLength(std::span<const std::uint8_t> data, std::uint64_t totalSamples);

// Surge's ".wt" file: "vawt", frame size (32 bits), frame count (16 bits), flags (16 bits),
// all little-endian, then the frames as 16-bit integers or 32-bit floats.
struct SurgeWt {
    int FrameSize = 0;
    int FrameCount = 0;
    bool IsSample = false;              // flag 01: one sample, not a table of frames
    bool Int16 = false;                 // flag 04: 16-bit integers instead of floats
    bool FullRange16 = false;           // flag 08: 16-bit integers use the full range
    std::span<const std::uint8_t> Data; // FrameSize * FrameCount samples
};
inline constexpr std::size_t kSurgeWtHeaderSize = 12;
// True when the bytes begin with the ".wt" magic.
bool IsSurgeWt(std::span<const std::uint8_t> file);
// Reads the header and checks that the frames are all there; throws morvane::Error with the
// user's text (naming `shownName`) otherwise.
SurgeWt ReadSurgeWt(std::span<const std::uint8_t> file, const std::string &shownName);

// The four characters of an id as text, unprintable bytes as '?'.
std::string IdText(const FourCc &id);

} // namespace morvane::exchange
