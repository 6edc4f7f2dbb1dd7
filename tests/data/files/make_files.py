#!/usr/bin/env python3
"""Writes the input files of the file-command script cases, from the file layouts alone:
two_tables.mid (two wavetables "First" and "Second"), notes.mid (no wave events),
stereo16.wav (a 16-bit stereo header) and header_only.wav (an accepted header, no samples)."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def encode(v):
    if v == -1:
        return bytes(3)
    m = abs(v)
    hi, mid, lo = (m // 16384) % 128, (m // 128) % 128, m % 128
    if v < 0:
        hi = ((63 - hi) | 0x40) & 0xFF
    return bytes([hi, mid, lo])


def table(name, device, slot, phase):
    out = bytearray()
    for w in range(64):
        m = bytearray([0xF0, 0x3E, 0x13, device, 0x12, slot, w, 0x00])
        for i in range(1, 129):
            m += encode(math.floor(math.sin(2 * math.pi * (i + phase + w) / 128) / 2 * 1048575))
        m += name.ljust(14, b" ") + bytes([0, 0, 0x7F, 0xF7])
        out += m
    return bytes(out)


def midi(tab):
    events = b"".join(b"\xF0\x83\x19" + tab[410 * w + 1:410 * w + 410] + b"\x86\x00"
                      for w in range(64))
    track = b"\x00\xFF\x51\x03\x07\xA1\x20\x00" + events + b"\xFF\x06\x03end\x00\xFF\x2F\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, 384) + b"MTrk" + struct.pack(">I", len(track))
            + track)


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
