"""The wave message and the files built of it, from their layouts alone, for the scripts that
compute the script cases' expected bytes (expected_*.py) and their input files
(tests/data/files/make_files.py). Nothing here comes from the program.

A table is 64 messages of 410 bytes: F0 3E 13 device 12 slot wave 00, 128 samples of 3 bytes,
a 14-byte name, two zero bytes, the checksum byte (7F) and F7.
"""
import hashlib
import math
import os
import struct
import sys

MESSAGE = 410
SAMPLES = 8  # offset of sample 0
NAME = 392  # offset of the 14-byte name
CHECKSUM = 408
MAX = 1048575  # the largest sample


def encode(v):
    """A sample's 3 bytes: 21-bit sign and magnitude of 7-bit bytes; -1 is stored as 0."""
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


def sine(i):
    """Sample i - 1 of every wave of a new table (i = 1..128), before it is encoded."""
    return math.floor(math.sin(2 * math.pi * i / 128) / 2 * MAX)


def table(device=0, slot=0, name=b"untitled", samples=None):
    """64 messages; samples(w, k) gives sample k of wave w (both from 0), the sine of a new table
    by default; the name is padded with spaces to 14 bytes, or cut."""
    out = bytearray()
    for w in range(64):
        m = bytearray([0xF0, 0x3E, 0x13, device, 0x12, slot, w, 0x00])
        for k in range(128):
            m += encode(samples(w, k) if samples else sine(k + 1))
        m += name.ljust(14, b" ")[:14] + bytes([0, 0, 0x7F, 0xF7])
        out += m
    return bytes(out)


def new_table(device=0):
    """The table a new document holds, to be edited in place."""
    return bytearray(table(device))


def sample_at(w, k):
    """Byte offset of sample k (0..127) of wave number w (1..64)."""
    return MESSAGE * (w - 1) + SAMPLES + 3 * k


def save(table, first, last, field_text, slot=80):
    """A save of waves first..last: their headers stamped (slot, wave number, the name field),
    every checksum byte filled, and their bytes. Changes `table` as the program's save does."""
    name = field_text.ljust(14)[:14].encode("latin-1")
    for n in range(first, last + 1):
        start = MESSAGE * (n - 1)
        table[start + 5] = slot
        table[start + 6] = n - 1
        table[start + NAME:start + NAME + 14] = name
    for w in range(1, 65):
        table[MESSAGE * (w - 1) + CHECKSUM] = 0x7F
    return bytes(table[MESSAGE * (first - 1):MESSAGE * last])


def midi(tab):
    """A standard MIDI file of one track: a tempo, the 64 messages as sysex events 768 ticks
    apart, and a marker "end"."""
    events = b"".join(b"\xF0\x83\x19" + tab[MESSAGE * w + 1:MESSAGE * w + MESSAGE] + b"\x86\x00"
                      for w in range(64))
    track = b"\x00\xFF\x51\x03\x07\xA1\x20\x00" + events + b"\xFF\x06\x03end\x00\xFF\x2F\x00"
    return (b"MThd" + struct.pack(">IHHH", 6, 0, 1, 384) + b"MTrk" + struct.pack(">I", len(track))
            + track)


def report(cases, folder):
    """Prints each case's "sha256  file" lines, or with --write rewrites folder/CASE.sha256.
    cases: (case name, [(file name, bytes), ...]) pairs."""
    for name, files in cases:
        lines = "".join(f"{hashlib.sha256(data).hexdigest()}  {path}\n" for path, data in files)
        if "--write" in sys.argv[1:]:
            with open(os.path.join(folder, name + ".sha256"), "w") as out:
                out.write(lines)
        else:
            sys.stdout.write(f"# {name}\n{lines}")
