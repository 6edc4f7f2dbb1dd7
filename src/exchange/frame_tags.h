#pragma once

#include <cstdint>
#include <span>

#include "exchange/audio_import.h"
#include "exchange/chunk_reader.h"

// One of the audio import's parts: where a file's frame length comes from, the tags in its chunks
// or the header of Surge's ".wt", whose frames are read here too.
namespace morvane::exchange {

// Sets file.Source and file.TaggedFrameLength from the first tag of a RIFF file, in the order
// 'clm ', 'srge', 'uhWT', cue points, 'smpl' loop; file.Samples must already be read. Leaves
// the file untagged when there is no tag or a cue or loop that describes no frames; throws
// morvane::Error naming file.ShownName for a 'clm ' or 'srge' chunk that gives no frame length.
void FindFrameTag(const FileChunks &chunks, AudioFile &file);
// Reads a Surge ".wt" file (IsSurgeWt is true for the bytes) into file: its samples, its
// format text and, unless it holds one sample rather than a table, its header's frame length.
// Throws morvane::Error as ReadSurgeWt does.
void ReadSurgeFrames(std::span<const std::uint8_t> bytes, AudioFile &file);

} // namespace morvane::exchange
