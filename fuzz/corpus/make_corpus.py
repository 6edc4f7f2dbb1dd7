#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: small valid and invalid files, each named
after what it holds. Run from any folder; the files land beside this script."""
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


def message(wave, name=b"untitled", device=0, slot=80, phase=0):
    body = bytearray([0xF0, 0x3E, 0x13, device, 0x12, slot, wave, 0x00])
    for i in range(1, 129):
        s = math.sin(2 * math.pi * (i + phase) / 128) / 2 * 1048575
        body += encode(math.floor(s))
    body += name.ljust(14, b" ")[:14] + bytes([0, 0, 0x7F, 0xF7])
    assert len(body) == 410
    return bytes(body)


def table(name=b"untitled", device=0, slot=80, phase=0):
    return b"".join(message(w, name, device, slot, phase) for w in range(64))


def midi(tab):
    events = b""
    for w in range(64):
        events += b"\xF0\x83\x19" + tab[410 * w + 1:410 * w + 410] + b"\x86\x00"
    track = b"\x00\xFF\x51\x03\x07\xA1\x20\x00" + events + b"\xFF\x06\x03end\x00\xFF\x2F\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 384) + b"MTrk" + struct.pack(">I", len(track)) + track


def wav_header(fmt=1, channels=1, rate=44100, bits=32, data=32768):
    return (b"RIFF" + struct.pack("<I", 36 + data) + b"WAVE" + b"fmt " +
            struct.pack("<IHHIIHH", 16, fmt, channels, rate, rate * channels * bits // 8,
                        channels * bits // 8, bits) + b"data" + struct.pack("<I", data))


def wav_sample(v):
    m = abs(v)
    b3 = ((m >> 24) & 0x7F) | (0x80 if v < 0 else 0)
    return bytes([m & 0xFF, (m >> 8) & 0xFF, (m >> 16) & 0xFF, b3])


def write(folder, name, data):
    path = os.path.join(HERE, folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


def main():
    whole = table(b"Seed", 3, 95)
    write("syx_load", "whole_table.syx", whole)
    write("syx_load", "three_with_garbage.syx",
          b"\x00\x7F" + message(10) + b"\xF7\x55" + message(11) + message(12))
    write("syx_load", "cut_short.syx", message(0) + message(1)[:120])
    write("syx_load", "seventy_messages.syx", whole + whole[:6 * 410])
    write("syx_load", "lone_f0.syx", b"\x01\x02\xF0")
    write("syx_load", "empty.syx", b"")

    write("midi_scan", "export.mid", midi(table(b"Exported", 1, 100)))
    two = midi(table(b"Zeta")) + midi(table(b"alpha", phase=7))
    write("midi_scan", "two_tables_short.mid", two[:3000] + two[26536:26536 + 3000])
    write("midi_scan", "case_twins.mid",
          b"".join(b"\xF0\x83\x19" + message(w, n)[1:] + b"\x86\x00"
                   for w, n in enumerate([b"pads", b"PADS", b"Pads", b"pads"])))
    long_sysex = b"\xF0\x83\x19" + b"\x44" * 3000 + b"\xF7"
    write("midi_scan", "long_event_then_wave.mid",
          long_sysex + b"\x90\x40" * 500 + b"\xF0\x83\x19" + message(0, b"After")[1:])
    write("midi_scan", "short_candidates.mid",
          b"\x41\x83\x19" + b"\x41" * 26 + b"\xF7" + b"\xF0\x83\x19" + b"\x42" * 13 + b"\xF7" +
          b"\xF0\x83\x19" + b"\x43" * 14 + b"\xF7")
    write("midi_scan", "no_wave_events.mid", b"MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\x80"
          b"\xF0\x05\x7E\x7F\x09\x01\xF7")

    samples = b"".join(wav_sample(math.floor(math.sin(2 * math.pi * (s % 128 + 1) / 128) / 2 * 1048575))
                       for s in range(8192))
    write("wav_read", "export.wav", wav_header() + samples)
    write("wav_read", "thousand_samples.wav", wav_header() + samples[:4000])
    write("wav_read", "cut_sample.wav", wav_header() + samples[:4002])
    write("wav_read", "stereo16.wav", wav_header(1, 2, 44100, 16) + b"\x11" * 400)
    write("wav_read", "float.wav", wav_header(3) + samples[:400])
    write("wav_read", "rate48k.wav", wav_header(rate=48000) + samples[:400])
    write("wav_read", "short_header.wav", wav_header()[:30])
    write("wav_read", "header_only.wav", wav_header())
    write("wav_read", "loud_byte3.wav", wav_header() + wav_sample(-0x7FFFFFFF) + wav_sample(0x12345678) * 300)


if __name__ == "__main__":
    main()
