#pragma once

#include <cstdint>
#include <span>

#include "exchange/audio_import.h"

// One of the audio import's parts: reading a file that libsndfile knows, from the bytes already
// in memory. libsndfile's own headers stay inside sndfile_memory.cpp.
namespace morvane::exchange {

// Reads the samples mixed to mono into file.Samples and sets file.SampleRate and
// file.FormatText ("WAV, 16-bit integer, stereo mixed to mono, 44,100 Hz"). Throws
// morvane::Error naming file.ShownName when libsndfile cannot read the bytes, the file has no
// channels, is too long or is cut short.
void ReadWithSndfile(std::span<const std::uint8_t> bytes, AudioFile &file);

} // namespace morvane::exchange
