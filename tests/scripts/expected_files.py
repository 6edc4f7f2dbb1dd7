#!/usr/bin/env python3
"""Expected bytes of the files that the file-command script cases write (files_syx, files_midi,
files_wav), computed here from the file layouts on their own, and written as NAME.sha256.

    python3 tests/scripts/expected_files.py          # prints every case's lines
    python3 tests/scripts/expected_files.py --write  # rewrites the .sha256 files
"""
import math
import os
import struct
import sys
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "data", "files"))
import make_files  # noqa: E402  the script cases' input files
from table_codec import MESSAGE, midi, report, table  # noqa: E402
import table_codec  # noqa: E402


def sine(i):
    """Sample i - 1 of every wave of a new table (i = 1..128), as the table holds it: the codec
    stores -1 (the floor of the residue at sample 128) as 0."""
    v = table_codec.sine(i)
    return 0 if v == -1 else v


def messages(tab, first, last):
    return tab[MESSAGE * (first - 1):MESSAGE * last]


def wav_sample(v):
    m = abs(v)
    return bytes([m & 0xFF, (m >> 8) & 0xFF, (m >> 16) & 0xFF,
                  ((m >> 24) & 0x7F) | (0x80 if v < 0 else 0)])


def wav_files():
    values = [sine(k + 1) for _ in range(64) for k in range(128)]
    header = (b"RIFF" + struct.pack("<I", 32804) + b"WAVEfmt " +
              struct.pack("<IHHIIHH", 16, 1, 1, 44100, 176400, 4, 32) + b"data" +
              struct.pack("<I", 32768))
    wav = header + b"".join(wav_sample(v) for v in values)
    # trunc(v / 8192) + 128, one line each, CR LF.
    txt = b"".join(b"%d\r\n" % (int(Fraction(v, 8192)) + 128) for v in values)
    return wav, txt


def imported(first, last):
    """A new table with waves first..last replaced from the exported file, scaled to the
    range's peak: floor(v / peak * 2,097,150), then halved toward zero."""
    peak = max(abs(sine(k + 1)) for k in range(128))

    def samples(w, k):
        v = sine(k + 1)
        if first - 1 <= w <= last - 1:
            g = math.floor(Fraction(v, peak) * 2097150)
            return int(Fraction(g, 2))
        return v
    return samples


def cases():
    wav, txt = wav_files()
    cases = {
        "files_syx": {
            "whole.syx": table(5, 95, b"Pad one"),
            "part.syx": messages(table(5, 95, b"Strings"), 5, 10),
            "after.syx": table(5, 95, b"Strings"),
        },
        "files_midi": {
            "pad.mid": midi(table(0, 100, b"Export")),
            "second.syx": make_files.SECOND,
        },
        "files_wav": {
            "pad.wav": wav,
            "pad.wav.txt": txt,
            "imported.syx": table(0, 80, b"untitled", imported(10, 12)),
            "undone.syx": table(0, 80, b"untitled"),
        },
    }
    return ((case, files.items()) for case, files in cases.items())


def main():
    report(cases(), HERE)


if __name__ == "__main__":
    main()
