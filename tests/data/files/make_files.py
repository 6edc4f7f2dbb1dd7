#!/usr/bin/env python3
"""Writes the input files of the file-command script cases, from the file layouts alone:
two_tables.mid (two wavetables "First" and "Second"), notes.mid (no wave events),
stereo16.wav (a 16-bit stereo header) and header_only.wav (an accepted header, no samples)."""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))
from table_codec import MAX, midi, table as codec_table  # noqa: E402


def table(name, device, slot, phase):
    """A table whose wave w holds the new table's sine moved on by phase + w samples."""
    return codec_table(device, slot, name, lambda w, k: math.floor(
        math.sin(2 * math.pi * (k + 1 + phase + w) / 128) / 2 * MAX))


def wav_header(channels, bits):
    rate = 44100
    return (b"RIFF" + struct.pack("<I", 36 + 32768) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * channels * bits // 8,
                        channels * bits // 8, bits) + b"data" + struct.pack("<I", 32768))


FIRST = table(b"First", 1, 81, 0)
SECOND = table(b"Second", 9, 101, 5)


def main():
    files = {
        "two_tables.mid": midi(FIRST) + midi(SECOND),
        "notes.mid": b"MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\x80MTrk\x00\x00\x00\x08"
                     b"\x00\x90\x40\x7F\x60\x80\x40\x00",
        "stereo16.wav": wav_header(2, 16) + bytes(400),
        "header_only.wav": wav_header(1, 32),
    }
    for name, data in files.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
