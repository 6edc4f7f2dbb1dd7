#!/usr/bin/env python3
"""Expected bytes of the .syx files that the script cases save, computed here from the file
layout and the edit rules on their own (not by the program), and written as NAME.sha256.

    python3 tests/scripts/expected_tables.py          # prints every case's lines
    python3 tests/scripts/expected_tables.py --write  # rewrites the .sha256 files
"""
import hashlib
import math
import os
import sys

MESSAGE = 410
SAMPLES = 8  # offset of sample 0
NAME = 392  # offset of the 14-byte name


def encode(v):
    if v == -1:
        return bytes(3)
    m = abs(v)
    low, middle, high = m % 128, (m // 128) % 128, (m // 16384) % 128
    if v < 0:
        high = ((63 - high) | 0x40) & 0xFF
    return bytes((high, middle, low))


def decode(b):
    high, middle, low = b
    if high <= 63:
        return high * 16384 + middle * 128 + low
    return -((63 - (high & 0x3F)) * 16384 + middle * 128 + low)


def new_table(device=0):
    table = bytearray()
    for n in range(1, 65):
        message = bytearray(MESSAGE)
        message[0:8] = bytes((0xF0, 0x3E, 0x13, device, 0x12, 0, n - 1, 0))
        for i in range(1, 129):
            v = math.floor(math.sin(2 * math.pi * i / 128) / 2 * 1048575)
            message[SAMPLES + 3 * (i - 1):SAMPLES + 3 * i] = encode(v)
        message[NAME:NAME + 14] = b"untitled      "
        message[408] = 0x7F
        message[409] = 0xF7
        table += message
    return table


def sample_at(w, k):
    return MESSAGE * (w - 1) + SAMPLES + 3 * k


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


def save(table, first, last, field_text, slot=80):
    """StampHeaders, FillChecksums and the bytes of waves first..last."""
    name = field_text.ljust(14)[:14].encode("latin-1")
    for n in range(first, last + 1):
        start = MESSAGE * (n - 1)
        table[start + 5] = slot
        table[start + 6] = n - 1
        table[start + NAME:start + NAME + 14] = name
    for w in range(1, 65):
        table[MESSAGE * (w - 1) + 408] = 0x7F
    return bytes(table[MESSAGE * (first - 1):MESSAGE * last])


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
    here = os.path.dirname(os.path.abspath(__file__))
    for name, files in cases():
        lines = "".join(f"{hashlib.sha256(data).hexdigest()}  {path}\n" for path, data in files)
        if "--write" in sys.argv:
            with open(os.path.join(here, name + ".sha256"), "w") as out:
                out.write(lines)
        else:
            sys.stdout.write(f"# {name}\n{lines}")


if __name__ == "__main__":
    main()
