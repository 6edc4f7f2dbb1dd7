#!/usr/bin/env python3
"""Expected results of the harmonic script cases, computed here on their own: a direct discrete
Fourier transform in Python (the program uses FFTW), the low-pass weights as README.md gives
them, synthesis rounded half to even, and the file layout of expected_tables.py.

    python3 tests/scripts/expected_harmonics.py          # prints the .sha256 lines and the
                                                          # harmonic lines of saw_sweep.out
    python3 tests/scripts/expected_harmonics.py --write  # rewrites saw_sweep.sha256
"""
import cmath
import hashlib
import math
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from expected_tables import set_name  # noqa: E402
from table_codec import decode, encode, new_table, sample_at, save  # noqa: E402

FS = 1048575


def wave(table, w):
    return [decode(table[sample_at(w, k):sample_at(w, k) + 3]) for k in range(128)]


def put(table, w, samples):
    for k, v in enumerate(samples):
        table[sample_at(w, k):sample_at(w, k) + 3] = encode(v)


def dft(samples):
    return [sum(s * cmath.exp(-2j * math.pi * k * n / 128) for n, s in enumerate(samples))
            for k in range(65)]


def synthesise(bins):
    out = []
    for n in range(128):
        v = bins[0].real + bins[64].real * (-1) ** n
        for k in range(1, 64):
            v += 2 * (bins[k] * cmath.exp(2j * math.pi * k * n / 128)).real
        out.append(round(v / 128))  # Python's round: ties to even
    assert all(abs(v) <= FS for v in out)
    return out


def line(k, x):
    """harmonic: K M P, M = 2|X|/(128 FS) (|X|/(128 FS) for 0 and 64), P = arg(iX)."""
    m = abs(x) / (128 * FS) * (1 if k in (0, 64) else 2)
    p = 0.0
    if m >= 1e-6:  # below -120 dB the phase shows as 0
        p = math.degrees(cmath.phase(1j * x)) if k not in (0, 64) else (90.0 if x.real > 0 else -90.0)
    p = round(p, 2)
    if p <= -180:
        p += 360
    return f"harmonic: {k} {m:.6f} {p + 0.0:.2f}"


def saw_sweep():
    table = bytearray(new_table())
    set_name(table, "Saw Sweep")
    # The generator's saw at 1/1: floor(FS (0.5 - i/128)) for samples i = 1..128.
    saw = [(FS * (64 - i)) // 128 for i in range(1, 129)]
    for w in range(1, 65):
        # Low-pass from 64 on wave 1 to 1 on wave 64: N = 64 - (w - 1); harmonic k keeps
        # clamp(N - k + 1, 0, 1).
        n_edge = 64 - (w - 1)
        bins = dft(saw)
        bins = [x * min(max(n_edge - k + 1, 0), 1) for k, x in enumerate(bins)]
        put(table, w, synthesise(bins))
    lines = [line(k, x) for k, x in enumerate(dft(wave(table, 33)))]
    return save(table, 1, 64, "Saw Sweep", 90), lines


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    data, lines = saw_sweep()
    sha = f"{hashlib.sha256(data).hexdigest()}  saw-sweep.syx\n"
    if "--write" in sys.argv:
        with open(os.path.join(here, "saw_sweep.sha256"), "w") as out:
            out.write(sha)
    else:
        sys.stdout.write(sha + "\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
