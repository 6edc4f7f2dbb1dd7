#!/usr/bin/env python3
"""Expected bytes of the .syx files that the mouse-drawing and motion script cases save,
computed here from the file layout and the drawing and motion rules on their own (exact
rational arithmetic, not the program), and written as NAME.sha256.

    python3 tests/scripts/expected_motion.py          # prints every case's lines
    python3 tests/scripts/expected_motion.py --write  # rewrites the .sha256 files

The program computes the B-spline terms and the falloff in extended precision. Where an exact
value lies on a half, that precision decides the rounding and exact arithmetic may not; this
script refuses such data instead of guessing, so that every case stays clear of them.
"""
import math
import os
import sys
from fractions import Fraction

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_codec import MAX, decode, encode, new_table, report, sample_at  # noqa: E402
from table_codec import save as save_waves  # noqa: E402

FULL = 2097150


def at(w, s):
    """Byte offset of sample number s (1..128) of wave number w (1..64)."""
    return sample_at(w, s - 1)


def read(table, w, s):
    return decode(table[at(w, s):at(w, s) + 3])


def write(table, w, s, v):
    table[at(w, s):at(w, s) + 3] = encode(v)


def tdiv(a, b):
    """Integer division truncating toward zero."""
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def row_value(y):
    return min(128 - tdiv((y - 192) * FULL, 384), MAX)


def line(table, w, s0, v0, s1, v1):
    """A stroke's move from sample s0 to s1 (1-based): the samples strictly between get the
    straight line's value rounded to the nearest integer, halves away from zero; s1 gets v1."""
    step = 1 if s1 > s0 else -1
    for s in range(s0 + step, s1, step):
        exact = v0 + Fraction((v1 - v0) * (s - s0), s1 - s0)
        rounded = math.floor(abs(exact) + Fraction(1, 2))
        write(table, w, s, rounded if exact >= 0 else -rounded)
    write(table, w, s1, v1)


def round_clear(x, what):
    """Round half to even, refusing exact halves (see the module's note)."""
    if x.denominator == 2:
        raise ValueError(f"{what} lies exactly on a half ({x}); choose other data")
    return round(x)


def power_of_two(n):
    return n & (n - 1) == 0


def pull(table, wave, x, y, smooth, width, continuous):
    c = x // 3 + 1
    v = row_value(y)
    for k in range(-width, width + 1):
        p = c + k
        if continuous:
            if p < 1:
                p += 128
            elif p > 128:
                p -= 128
        if p < 1 or p > 128:
            continue
        old = read(table, wave, p)
        f = 1 + Fraction(k, 22) ** 2 if smooth else 1 + Fraction(abs(k), 22)
        q = Fraction(v - old) / f
        # A falloff that is exact in binary divides exactly, halves included.
        step = round(q) if power_of_two(f.denominator) else round_clear(q, "pull")
        write(table, wave, p, old + step)


def spline_coordinate(a, p1, b, t):
    terms = (a * (t - 1) * (t - 1), 2 * p1 * (1 - t) * t, b * t * t)
    return sum(round_clear(term, "B-spline term") for term in terms)


def steps(points, linear, waves):
    n = len(points)
    segments = n - 1 if linear else n - 2
    result = []
    if segments < 1:
        return result
    q, r = divmod(waves, segments)
    for i in range(1, segments + 1):
        count = q + 1 if i <= r else q
        (x0, y0), (x1, y1) = points[i - 1], points[i]
        if linear:
            for j in range(1, count + 1):
                result.append((x0 + tdiv((j - 1) * (x1 - x0), count),
                               y0 + tdiv((j - 1) * (y1 - y0), count)))
            continue
        x2, y2 = points[i + 1]
        ax, ay = Fraction(x0 + x1, 2), Fraction(y0 + y1, 2)
        bx, by = Fraction(x1 + x2, 2), Fraction(y1 + y2, 2)
        for j in range(1, count + 1):
            t = Fraction(j - 1, count)
            result.append((spline_coordinate(ax, x1, bx, t), spline_coordinate(ay, y1, by, t)))
    return result


def motion(table, points, linear=True, smooth=False, width=1, continuous=False, waves=64):
    for e, (x, y) in enumerate(steps(points, linear, waves), start=1):
        pull(table, e, x, y, smooth, width, continuous)


def save(table, field_text="untitled", slot=80):
    """All 64 waves saved, on a copy of the table."""
    return save_waves(bytearray(table), 1, 64, field_text, slot)


START_PATH = [(32, 90), (312, 30), (372, 170), (40, 370)]


def cases():
    # mouse_drawing: one stroke on wave 1 (sample 11, then lines to 21 and on to 34), a
    # right-button press on the top row of wave 2, two undos, then a stroke on wave 2 within
    # samples 11..21 from 21 back to 11.
    t = new_table()
    write(t, 1, 11, 128)
    write(t, 1, 11, row_value(150))
    line(t, 1, 11, row_value(150), 21, row_value(150))
    line(t, 1, 21, row_value(150), 34, 524415)
    stroke = bytearray(t)
    write(t, 2, 11, MAX)
    right = bytearray(t)
    t = bytearray(stroke)
    write(t, 2, 21, -1048447)
    line(t, 2, 21, -1048447, 11, row_value(288))
    yield "mouse_drawing", [("stroke.syx", save(stroke)), ("undo1.syx", save(right)),
                            ("undo2.syx", save(stroke)), ("range.syx", save(t))]

    # make_motion: the start-up path over 64 waves, undone, then as a B-spline over 26 waves.
    t = new_table()
    motion(t, START_PATH)
    spline = new_table()
    motion(spline, START_PATH, linear=False, smooth=True, width=5, continuous=True, waves=26)
    yield "make_motion", [("linear.syx", save(t)), ("undone.syx", save(new_table())),
                          ("spline.syx", save(spline))]

    # motion_path: the edited path, then a two-point straight path on top of it.
    t = new_table()
    motion(t, [(300, 60), (40, 370), (200, 200)])
    first = bytearray(t)
    motion(t, [(100, 100), (300, 100)])
    yield "motion_path", [("path.syx", save(first)), ("last.syx", save(t))]


def main():
    report(cases(), os.path.dirname(os.path.abspath(__file__)))


if __name__ == "__main__":
    main()
