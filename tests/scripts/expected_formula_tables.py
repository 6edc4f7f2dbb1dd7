#!/usr/bin/env python3
"""Expected bytes of the .syx files that the formula script cases (formula_*.mvs) save,
computed here from the formula rules on their own in double precision (Python's floats and
math module), and written as NAME.sha256.

    python3 tests/scripts/expected_formula_tables.py          # prints every case's lines
    python3 tests/scripts/expected_formula_tables.py --write  # rewrites the .sha256 files
"""
import math
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_codec import MAX, decode, encode, new_table, report, sample_at, save  # noqa: E402



def get(t, w, k):
    return decode(t[sample_at(w, k):sample_at(w, k) + 3])


def put(t, w, k, v):
    t[sample_at(w, k):sample_at(w, k) + 3] = encode(v)


def write_formula(t, f, first_wave, last_wave, first=0, last=127, combine=None):
    """f(x, w, n, i, y, z) over the waves and samples; every value stays within -1..1 here.
    Python's round() rounds ties to even."""
    for i in range(first_wave, last_wave + 1):
        y = -1 + 2.0 * (i - first_wave) / (last_wave - first_wave) if last_wave > first_wave else 0.0
        z = (y + 1) / 2
        for n in range(first, last + 1):
            v = f(n / 64.0 - 1, n / 128.0, n, i, y, z)
            assert -1 <= v <= 1
            s = round(v * MAX)
            if combine:
                s = combine(s, get(t, i, n))
            put(t, i, n, s)


class Lcg:
    def __init__(self, seed):
        self.seed = seed % 2 ** 32

    def rand(self):
        """Random(2^32) / 2^32: the stepped seed over 2^32."""
        self.seed = (self.seed * 134775813 + 1) % 2 ** 32
        return self.seed / 4294967296.0


def cases():
    # formula_pulse: (x<y)*2-1 over the whole table.
    t = new_table()
    write_formula(t, lambda x, w, n, i, y, z: (1 if x < y else 0) * 2 - 1, 1, 64)
    yield "formula_pulse", [("pulse.syx", save(t, 1, 64, "untitled"))]

    # formula_pm: the phase-modulation sweep over the whole table; "2*x" refused everywhere;
    # then rand()-0.5 joined by min over waves 10..20, samples 33..96, clock 12:34:56.789.
    t = new_table()
    write_formula(t, lambda x, w, n, i, y, z: math.sin(2 * math.pi * w + z * math.sin(4 * math.pi * w)),
                  1, 64)
    lcg = Lcg(((12 * 60 + 34) * 60 + 56) * 1000 + 789)
    write_formula(t, lambda x, w, n, i, y, z: lcg.rand() - 0.5, 10, 20, 32, 95, min)
    yield "formula_pm", [("pm.syx", save(t, 1, 64, "untitled"))]


def main():
    report(cases(), os.path.dirname(os.path.abspath(__file__)))


if __name__ == "__main__":
    main()
