#!/usr/bin/env python3
"""Expected bytes of the .syx files that the script cases save, computed here from the file
layout and the edit rules on their own (not by the program), and written as NAME.sha256.

    python3 tests/scripts/expected_tables.py          # prints every case's lines
    python3 tests/scripts/expected_tables.py --write  # rewrites the .sha256 files
"""
import math
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_codec import MESSAGE, NAME, decode, encode, new_table, report, sample_at, save  # noqa


def invert(table, waves, first=0, last=127):
    for w in waves:
        for k in range(first, last + 1):
            at = sample_at(w, k)
            table[at:at + 3] = encode(-decode(table[at:at + 3]))


def reverse(table, waves, first=0, last=127):
    for w in waves:
        s = first + last + 2
        i = first + 1
        while i <= s // 2:
            a, b = sample_at(w, i - 1), sample_at(w, s - i - 1)
            table[a:a + 3], table[b:b + 3] = table[b:b + 3], table[a:a + 3]
            i += 1


def set_name(table, text):
    """The name field's change: trimmed, padded to 14, into every message."""
    name = text.strip().ljust(14)[:14].encode("latin-1")
    for w in range(1, 65):
        start = MESSAGE * (w - 1) + NAME
        table[start:start + 14] = name


def play_buffers(table, wave, rate=44100, channels=2):
    """The 16 play buffers of 8192 16-bit values for wave number `wave`, little-endian."""
    t = [None] + [int(decode(table[sample_at(wave, k):sample_at(wave, k) + 3]) / 128)
                  for k in range(128)]
    p = 1.0
    d = 44100 / rate
    if channels == 2:
        d = d / 2
    out = bytearray()
    for _ in range(16 * 8192):
        out += t[math.floor(p)].to_bytes(2, "little", signed=True)
        p += d
        if math.floor(p) > 128:
            p = 1.0
    return bytes(out)


def cases():
    # startup: the new table as the window starts with it, saved whole.
    t = new_table()
    yield "startup", [("start.syx", save(t, 1, 64, "untitled"))]

    # new_modified: the name "pad" typed, New answered with Yes: saved as new.syx first.
    t = new_table()
    set_name(t, "pad")
    yield "new_modified", [("new.syx", save(t, 1, 64, "pad"))]

    # undo_redo: invert, reverse, invert; two undos give the inverted table, one redo the
    # inverted and reversed one.
    t = new_table()
    invert(t, [1])
    after_first = bytearray(t)
    reverse(t, [1])
    after_second = bytearray(t)
    yield "undo_redo", [("a.syx", save(bytearray(after_first), 1, 64, "untitled")),
                        ("b.syx", save(bytearray(after_second), 1, 64, "untitled"))]

    # selection: waves 5..9 inverted with the check box on, then wave 20 alone with it off.
    t = new_table()
    invert(t, range(5, 10))
    first = save(t, 1, 64, "untitled")
    invert(t, [20])
    yield "selection", [("range.syx", first), ("current.syx", save(t, 1, 64, "untitled"))]

    # play: wave 3 inverted; the buffers of wave 1 at Play, of wave 3 after two sweep steps,
    # and of wave 1 again after Stop.
    t = new_table()
    invert(t, [3])
    yield "play", [("wave1.raw", play_buffers(t, 1)), ("wave3.raw", play_buffers(t, 3)),
                   ("stopped.raw", play_buffers(t, 1))]


def main():
    report(cases(), os.path.dirname(os.path.abspath(__file__)))


if __name__ == "__main__":
    main()
