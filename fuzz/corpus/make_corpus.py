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


def riff_wave(frames16, tags=b"", channels=1, rate=44100):
    data = b"".join(struct.pack("<h", v) for v in frames16)
    fmt = b"fmt " + struct.pack("<IHHIIHH", 16, 1, channels, rate, rate * channels * 2, channels * 2, 16)
    body = b"WAVE" + fmt + tags + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def chunk(cid, payload):
    pad = b"\x00" if len(payload) % 2 else b""
    return cid + struct.pack("<I", len(payload)) + payload + pad


def saw(n, period):
    return [int(((i % period) / period * 2 - 1) * 30000) for i in range(n)]


def surge_wt(frame, count, flags, samples):
    head = b"vawt" + struct.pack("<IHH", frame, count, flags)
    if flags & 4:
        return head + b"".join(struct.pack("<h", v) for v in samples)
    return head + b"".join(struct.pack("<f", v / 32768) for v in samples)


def aiff(frames16):
    data = b"".join(struct.pack(">h", v) for v in frames16)
    # 44100 as an 80-bit extended float
    rate = bytes([0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0])
    comm = b"COMM" + struct.pack(">IhIh", 18, 1, len(frames16), 16) + rate
    ssnd = b"SSND" + struct.pack(">III", len(data) + 8, 0, 0) + data
    body = b"AIFF" + comm + ssnd
    return b"FORM" + struct.pack(">I", len(body)) + body


def sndfile_bytes(major, subtype, frames16):
    """A file libsndfile itself writes (FLAC, Ogg), through ctypes; None without the library."""
    import ctypes
    import tempfile
    try:
        lib = ctypes.CDLL("libsndfile.so.1")
    except OSError:
        return None

    class Info(ctypes.Structure):
        _fields_ = [("frames", ctypes.c_int64), ("samplerate", ctypes.c_int), ("channels", ctypes.c_int),
                    ("format", ctypes.c_int), ("sections", ctypes.c_int), ("seekable", ctypes.c_int)]
    lib.sf_open.restype = ctypes.c_void_p
    lib.sf_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(Info)]
    lib.sf_write_short.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_short), ctypes.c_int64]
    lib.sf_close.argtypes = [ctypes.c_void_p]
    info = Info(0, 44100, 1, major | subtype, 0, 0)
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "seed").encode()
        handle = lib.sf_open(path, 0x20, ctypes.byref(info))  # SFM_WRITE
        if not handle:
            return None
        buf = (ctypes.c_short * len(frames16))(*frames16)
        lib.sf_write_short(handle, buf, len(frames16))
        lib.sf_close(handle)
        with open(path, "rb") as f:
            return f.read()


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

    x = "exchange_import"
    write(x, "untagged_saw.wav", riff_wave(saw(2048, 256)))
    write(x, "clm_256.wav", riff_wave(saw(1024, 256), chunk(b"clm ", b"<!>256 10000000 wavetable")))
    write(x, "clm_no_number.wav", riff_wave(saw(512, 128), chunk(b"clm ", b"<!>abc")))
    write(x, "srge_128.wav", riff_wave(saw(512, 128), chunk(b"srge", struct.pack("<II", 1, 128))))
    write(x, "uhwt.wav", riff_wave(saw(4096, 2048), chunk(b"uhWT", b"\x00" * 8)))
    cue = struct.pack("<I", 3) + b"".join(struct.pack("<II4sIII", i, i * 64, b"data", 0, 0, i * 64)
                                          for i in range(3))
    write(x, "cue_64.wav", riff_wave(saw(192, 64), chunk(b"cue ", cue)))
    smpl = struct.pack("<9I", 0, 0, 22675, 60, 0, 0, 0, 1, 0) + struct.pack("<6I", 0, 0, 0, 99, 0, 0)
    write(x, "smpl_100.wav", riff_wave(saw(300, 100), chunk(b"smpl", smpl)))
    write(x, "stereo.wav", riff_wave(saw(256, 64), channels=2))
    write(x, "cut_data.wav", riff_wave(saw(400, 100))[:500])
    write(x, "aiff_saw.aiff", aiff(saw(512, 128)))
    write(x, "surge_int16.wt", surge_wt(64, 4, 4, saw(256, 64)))
    write(x, "surge_float.wt", surge_wt(32, 3, 0, saw(96, 32)))
    write(x, "surge_full16_cut.wt", surge_wt(64, 4, 12, saw(256, 64))[:300])
    write(x, "surge_sample.wt", surge_wt(100, 1, 1, saw(100, 50)))
    for name, major, subtype in (("flac_saw.flac", 0x170000, 0x0002), ("ogg_saw.ogg", 0x200000, 0x0060)):
        made = sndfile_bytes(major, subtype, saw(1024, 128))
        if made:
            write(x, name, made)

    s = "settings_file"
    write(s, "both_sections.ini", b"; morvane\n[AudioOutput]\nWaveAudioDevice=-1\nWaveChannels=1\n"
          b"WaveSamplesPerSec=48000\nWaveBlockAlign=2\nWaveBitsPerSample=16\n\n"
          b"[MidiOutput]\nMidiApi=alsa\nMidiPort=\" Port 1 \"\nMidiPauseMs=300\n")
    write(s, "windows_lines.ini", b"[other]\r\nx=1\r\n[audiooutput]\r\n  wavechannels = +2 \r\n# c\r\n")
    write(s, "bad_numbers.ini", b"[AudioOutput]\nWaveChannels=2x\nWaveSamplesPerSec=99999999999\n"
          b"WaveBlockAlign=+-4\n[AudioOutput]\nWaveChannels=1")
    write(s, "no_section.ini", b"WaveChannels=1\nnoise")
    write(s, "empty.ini", b"")

    m = "midi_settings"
    write(m, "port_and_text.ini", b"\x06" + b"[MidiOutput]\nMidiApi=jack\nMidiPort=a\nMidiPauseMs=20\n"
          b"[AudioOutput]\nWaveChannels=1\n" + b" Out 2")
    write(m, "quoted_port.ini", b"\x03" + b"[midioutput]\r\nmidiport='x'\r\nMidiPauseMs=99999\r\n" + b"a\nb")
    write(m, "no_file_text.ini", b"\x04" + b"\"q\" ")
    write(m, "pause_words.ini", b"\x00" + b"[MidiOutput]\nMidiPauseMs=+1e3\nMidiPort=\"\"\n")

    src = os.path.join(HERE, "..", "..", "tests", "scripts")
    for name in ("language_quoting.mvs", "keys.mvs", "mouse.mvs", "dialogs.mvs", "midi_output.mvs",
                 "exchange_audio.mvs", "make_motion.mvs"):
        with open(os.path.join(src, name), "rb") as f:
            write("script_parser", name, f.read())
    write("script_parser", "bom_crlf.mvs", b"\xEF\xBB\xBFclick btnAdd\r\nset Edit1 \"a \\\" b\"\r\n")
    write("script_parser", "numbers.mvs", b"tick Timer1 2147483648\nwait -1\nclock 24:00:00.000\n"
          b"mouse down 99999999999 1\nkey Ctrl+Shift+F13\nchoose #2147483647\n")


if __name__ == "__main__":
    main()
