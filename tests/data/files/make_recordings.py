#!/usr/bin/env python3
"""Writes the recordings of the resynthesis script case, 16-bit mono WAV at 44,100 Hz:
note.wav (0.1 s of silence, 0.4 s of a band-limited saw at 220.5 Hz, harmonics 1 to 40 at 1/k,
0.1 s of silence) and noise.wav (0.2 s of white noise from a fixed-seed generator). Neither
length is a multiple of a frame length, so both open as recordings."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
RATE = 44100


def wav(samples):
    data = b"".join(struct.pack("<h", max(-32767, min(32767, round(s * 32767)))) for s in samples)
    return (b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt " +
            struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16) + b"data" +
            struct.pack("<I", len(data)) + data)


def saw(hz, n):
    return 0.3 * sum(math.sin(2 * math.pi * k * hz * n / RATE) / k for k in range(1, 41))


def noise(count):
    state, out = 12345, []
    for _ in range(count):
        state = (state * 1664525 + 1013904223) % 2**32  # the Numerical Recipes generator
        out.append((state >> 8) / 2**24 - 0.5)
    return out


def main():
    silence = [0.0] * (RATE // 10)
    files = {
        "note.wav": silence + [saw(220.5, n) for n in range(RATE * 4 // 10)] + silence,
        "noise.wav": noise(RATE // 5),
    }
    for name, samples in files.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(wav(samples))


if __name__ == "__main__":
    main()
