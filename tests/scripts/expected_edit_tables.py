#!/usr/bin/env python3
"""Expected bytes of the .syx files that the editing script cases (edit_*_bytes.mvs) save,
computed here from the edit rules on their own, with exact fractions rounded to the 64-bit
significand of 80-bit extended precision after every operation, and written as NAME.sha256.

    python3 tests/scripts/expected_edit_tables.py          # prints every case's lines
    python3 tests/scripts/expected_edit_tables.py --write  # rewrites the .sha256 files
"""
import math
import os
import sys
from fractions import Fraction as F

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_codec import MAX, MESSAGE, decode, encode, new_table, report, sample_at, save  # noqa: E402

BACKUP, BACKUP_SIZE = 7, 401  # the bytes a restore and a random order move
FULL_SCALE = 2097150


def ext(x):
    """x rounded to the nearest value with a 64-bit significand, ties to even."""
    x = F(x)
    if x == 0:
        return F(0)
    sign = -1 if x < 0 else 1
    a = abs(x)
    e = a.numerator.bit_length() - a.denominator.bit_length() - 64
    while a / F(2) ** e >= 2 ** 64:
        e += 1
    while a / F(2) ** e < 2 ** 63:
        e -= 1
    q = a / F(2) ** e
    n = q.numerator // q.denominator
    rest = q - n
    if rest > F(1, 2) or (rest == F(1, 2) and n % 2 == 1):
        n += 1
    return sign * F(n) * F(2) ** e


PI = ext(F("3.14159265358979323846264338327950288419716939937510582097494459230781640628"))
TWO_PI = ext(2 * PI)
HALF_PI = ext(PI / 2)
THREE_HALF_PI = ext(ext(3 * PI) / 2)


class Lcg:
    def __init__(self, seed):
        self.seed = seed % 2 ** 32

    def random(self, n):
        self.seed = (self.seed * 134775813 + 1) % 2 ** 32
        return (self.seed * n) >> 32


def seed_of(h, m, s, ms):
    return ((h * 60 + m) * 60 + s) * 1000 + ms


def get(t, w, k):
    at = sample_at(w, k)
    return decode(t[at:at + 3])


def put(t, w, k, v):
    at = sample_at(w, k)
    t[at:at + 3] = encode(v)


def raw(t, w, k):
    at = sample_at(w, k)
    return bytes(t[at:at + 3])


def put_raw(t, w, k, b):
    at = sample_at(w, k)
    t[at:at + 3] = b


def wrap32(v):
    return (v + 2 ** 31) % 2 ** 32 - 2 ** 31


def out_of_range(v):
    return v < -MAX or v > MAX


def stored(v):
    """What a 32-bit value reads back as once encoded (out-of-range values wrap: the codec keeps
    7 bits per byte)."""
    return decode(encode(v))


# ---- the generator ------------------------------------------------------------------------

def into_period(x):
    while x > TWO_PI:
        x = ext(x - TWO_PI)
    while x < 0:
        x = ext(x + TWO_PI)
    return x


def triangle(x):
    x = into_period(x)
    if x < HALF_PI:
        return ext(x / HALF_PI)
    if x < THREE_HALF_PI:
        return ext(1 - ext(ext(x - HALF_PI) / HALF_PI))
    if x < TWO_PI:
        return ext(ext(ext(x - THREE_HALF_PI) / HALF_PI) - 1)
    return F(0)


def square(x):
    return F(1, 2) if into_period(x) < PI else F(-1, 2)


def saw(x):
    return ext(F(1, 2) - ext(into_period(x) / TWO_PI))


def combine(mode, v, h):
    if mode == "add":
        return wrap32(v + h)
    if mode == "sub":
        return wrap32(h - v)
    if mode == "or":
        return wrap32((v & 0xFFFFFFFF) | (h & 0xFFFFFFFF))
    if mode == "and":
        return wrap32((v & 0xFFFFFFFF) & (h & 0xFFFFFFFF))
    if mode == "xor":
        return wrap32((v & 0xFFFFFFFF) ^ (h & 0xFFFFFFFF))
    if mode == "multi":
        p = ext(ext(ext(F(v) / FULL_SCALE) * ext(F(h) / FULL_SCALE)) * FULL_SCALE)
        return math.floor(ext(p * 8))
    if mode == "min":
        return min(v, h)
    if mode == "max":
        return max(v, h)
    return v


def generate(t, waves, shape, n, fade_position=0, add=True, mode="replace", first=0,
             last=127, allow=False, lcg=None):
    """One click of the generator; returns the log lines."""
    fade = ext(F(fade_position) / 10)
    a = abs(fade)
    overflow = False
    lines = []
    for w in waves:
        backup = bytes(t[MESSAGE * (w - 1) + BACKUP:MESSAGE * (w - 1) + BACKUP + BACKUP_SIZE])
        for i in range(first + 1, last + 2):
            x = ext(ext(ext(TWO_PI * n) * i) / 128)
            if shape == "triangle":
                g = ext(triangle(x) / 2)
            elif shape == "square":
                g = square(x)
            elif shape == "saw":
                g = saw(x)
            elif shape == "random":
                g = ext(ext(F(lcg.random(2000000)) / 1000000) - 1)
            else:
                raise ValueError(shape)
            u = math.floor(ext(ext(ext(F(1) / n) * g) * MAX))
            step = ext(ext(a * (i - 1)) / 127)
            f = ext(1 - step) if fade >= 0 else ext(ext(1 - a) + step)
            v = math.floor(ext(u * f))
            if add:
                v = combine(mode, v, get(t, w, i - 1))
            put_raw(t, w, i - 1, encode(v))
            if out_of_range(v) and not allow:
                overflow = True
        if overflow:
            lines.append("21 bit overflow error. You can allow overflow! -->")
            start = MESSAGE * (w - 1) + BACKUP
            t[start:start + BACKUP_SIZE] = backup
    return lines


# ---- per-wave transforms ------------------------------------------------------------------

def amplify(t, waves, percent, up, first=0, last=127):
    factor = ext(F(100 + percent if up else 100 - percent) / 100)
    overflow = False
    for w in waves:
        backup = bytes(t[MESSAGE * (w - 1) + BACKUP:MESSAGE * (w - 1) + BACKUP + BACKUP_SIZE])
        for k in range(first, last + 1):
            v = math.floor(ext(get(t, w, k) * factor))
            put_raw(t, w, k, encode(v))
            overflow = overflow or out_of_range(v)
        if overflow:
            start = MESSAGE * (w - 1) + BACKUP
            t[start:start + BACKUP_SIZE] = backup


def smooth(t, waves, first=0, last=127):
    for w in waves:
        for k in range(first, last + 1):
            left = get(t, w, 127 if k == 0 else k - 1)
            right = get(t, w, 0 if k == 127 else k + 1)
            put(t, w, k, int((left + right) / 2))  # toward zero


def step(t, waves, levels, first=0, last=127):
    size = FULL_SCALE // levels
    for w in waves:
        for k in range(first, last + 1):
            v = get(t, w, k)
            put(t, w, k, v - int(math.fmod(v, size)))


def move_left(t, w, first, last):
    kept = raw(t, w, first)
    for k in range(first + 1, last + 1):
        put_raw(t, w, k - 1, raw(t, w, k))
    put_raw(t, w, last, kept)


def move_right(t, w, first, last):
    kept = raw(t, w, last)
    for k in range(last, first, -1):
        put_raw(t, w, k, raw(t, w, k - 1))
    put_raw(t, w, first, kept)


def move_vertical(t, w, delta, first=0, last=127):
    """True when it overflowed (and the wave is as before)."""
    before = bytes(t)
    values = [get(t, w, k) + delta for k in range(first, last + 1)]
    if any(out_of_range(v) for v in values):
        return True
    for k, v in zip(range(first, last + 1), values):
        put(t, w, k, v)
    assert bytes(t) != before or delta == 0
    return False


def reverse(t, waves, first=0, last=127):
    for w in waves:
        s = first + last + 2
        i = first + 1
        while i <= s // 2:
            a, b = raw(t, w, i - 1), raw(t, w, s - i - 1)
            put_raw(t, w, i - 1, b)
            put_raw(t, w, s - i - 1, a)
            i += 1


# ---- table-wide operations ----------------------------------------------------------------

def morph(t, a, b, first=0, last=127):
    for w in range(a, b + 1):
        for k in range(first, last + 1):
            f, m = get(t, a, k), get(t, b, k)
            put(t, w, k, math.floor(ext(ext(F((m - f) * (w - a)) / (b - a)) + f)))


def random_order(t, a, b, lcg):
    n = b - a + 1
    for _ in range(1000):
        x = a + lcg.random(n)
        y = a + lcg.random(n)
        px, py = MESSAGE * (x - 1) + BACKUP, MESSAGE * (y - 1) + BACKUP
        bx, by = bytes(t[px:px + BACKUP_SIZE]), bytes(t[py:py + BACKUP_SIZE])
        t[px:px + BACKUP_SIZE], t[py:py + BACKUP_SIZE] = by, bx


def random_slices(t, waves, length, same, lcg, first=0, last=127):
    if first // length == last // length:
        return
    p = q = 0
    for index, w in enumerate(waves):
        if index == 0 or not same:
            while True:
                a = first + lcg.random(last - first + 1)
                c = first + lcg.random(last - first + 1)
                p, q = length * (a // length), length * (c // length)
                if p != q:
                    break
        for o in range(length):
            if first <= p + o <= last and first <= q + o <= last:
                x, y = raw(t, w, p + o), raw(t, w, q + o)
                put_raw(t, w, p + o, y)
                put_raw(t, w, q + o, x)


def sort(t, waves, first=0, last=127):
    for w in waves:
        values = [(get(t, w, k), raw(t, w, k)) for k in range(first, last + 1)]
        # Descending and stable: equal values keep their order, as neighbour swaps give.
        values = sorted(values, key=lambda e: -e[0])
        for k, (_, b) in zip(range(first, last + 1), values):
            put_raw(t, w, k, b)


# ---- clipboard ----------------------------------------------------------------------------

class Clipboard:
    def __init__(self):
        self.slots = [bytes(3)] * 129  # slot k at index k
        self.length = 0

    def copy(self, t, w, first, last):
        self.length = last - first + 1
        for s in range(first + 1, last + 2):
            self.slots[s - first] = raw(t, w, s - 1)

    def paste(self, t, w, first, last):
        for i in range(1, self.length + 1):
            if first + i <= last + 1:
                put_raw(t, w, first + i - 1, self.slots[i])

    def special(self, t, w, mode, first=0, last=127):
        """Paste special: combine(mode, wave, slot); True when it overflowed."""
        start = MESSAGE * (w - 1) + BACKUP
        backup = bytes(t[start:start + BACKUP_SIZE])
        overflow = False
        for s in range(first + 1, last + 2):
            c = decode(self.slots[s])
            h = get(t, w, s - 1)
            r = combine(mode, h, c)
            put_raw(t, w, s - 1, encode(r))
            overflow = overflow or out_of_range(r)
        if overflow:
            t[start:start + BACKUP_SIZE] = backup
        return overflow


# ---- the cases ----------------------------------------------------------------------------

def shapes_case():
    t = new_table()
    generate(t, [1], "square", 1, add=False)
    generate(t, [2], "saw", 3, fade_position=-4, add=False)
    generate(t, [3], "triangle", 2, fade_position=6, add=False, first=9, last=99)
    for w, mode in zip(range(4, 12), ["sub", "or", "and", "xor", "multi", "min", "max", "add"]):
        generate(t, [w], "square", 7, mode=mode)
    generate(t, range(40, 46), "triangle", 11, fade_position=10, mode="xor")
    generate(t, [50], "saw", 50, fade_position=-10, mode="add", first=30, last=70)
    return [("shapes.syx", save(t, 1, 64, "untitled"))]


def transforms_case():
    t = new_table()
    amplify(t, range(1, 4), 5, True)
    amplify(t, [2], 3, False)
    amplify(t, [3], 10, True, first=20, last=40)
    step(t, [4], 32)
    step(t, range(5, 8), 8, first=0, last=63)
    smooth(t, [8])
    smooth(t, [9], first=120, last=127)
    move_left(t, 10, 0, 127)
    move_left(t, 11, 5, 9)
    move_right(t, 12, 100, 127)
    assert not move_vertical(t, 13, 8000)
    assert not move_vertical(t, 14, -8000, 30, 40)
    reverse(t, [15], 10, 12)
    morph(t, 20, 30, 0, 127)
    morph(t, 31, 34, 60, 70)
    sort(t, [35])
    sort(t, [36], 10, 50)
    return [("transforms.syx", save(t, 1, 64, "untitled"))]


def random_case():
    t = new_table()
    # Distinct waves first, so that the order shows: a square in wave 64, morphed from wave 1.
    generate(t, [64], "square", 1, add=False)
    morph(t, 1, 64)
    # Each generator click re-seeds from the clock, which the script keeps at one time.
    seed = seed_of(7, 15, 30, 250)
    generate(t, [3], "random", 1, add=False, lcg=Lcg(seed))
    lcg = Lcg(seed)
    generate(t, [4], "random", 5, fade_position=3, mode="add", lcg=lcg)
    # Random order and slices do not re-seed: they go on from the generator's draws.
    random_order(t, 2, 60, lcg)
    random_slices(t, range(10, 21), 16, False, lcg)
    random_slices(t, range(30, 35), 8, True, lcg, first=10, last=90)
    random_slices(t, [40], 32, True, lcg, first=0, last=19)
    return [("random.syx", save(t, 1, 64, "untitled"))]


def clipboard_case():
    t = new_table()
    c = Clipboard()
    c.special(t, 2, "multi")  # before any copy: zero slots
    amplify(t, [1], 10, False)
    c.copy(t, 1, 10, 19)
    c.paste(t, 5, 50, 59)
    c.paste(t, 6, 50, 54)
    c.paste(t, 7, 0, 127)
    c.copy(t, 1, 0, 127)
    c.paste(t, 8, 0, 127)
    for w, mode in zip(range(9, 17), ["add", "sub", "multi", "or", "and", "xor", "min", "max"]):
        amplify(t, [w], 3, False)
        assert not c.special(t, w, mode)
    c.copy(t, 20, 0, 127)
    assert c.special(t, 20, "add")  # -524,288 twice: restored
    c.copy(t, 1, 30, 40)
    assert not c.special(t, 21, "sub", 0, 60)
    return [("clipboard.syx", save(t, 1, 64, "untitled"))]


def cases():
    yield "edit_shapes_bytes", shapes_case()
    yield "edit_transforms_bytes", transforms_case()
    yield "edit_random_bytes", random_case()
    yield "edit_clipboard_bytes", clipboard_case()


def self_check():
    """Worked values of the rules, so that the model itself is known to be right."""
    up5 = ext(F(105) / 100)
    down5 = ext(F(95) / 100)
    assert math.floor(ext(100 * up5)) == 104  # just below 105 in extended precision
    assert math.floor(ext(-1 * up5)) == -2
    assert [math.floor(ext(v * down5)) for v in (100, -100, 20, -20, 1, -2)] == \
        [95, -95, 19, -19, 0, -2]
    assert math.floor(ext(ext(ext(F(1) / 1) * square(ext(TWO_PI * 10 / 128))) * MAX)) == 524287
    assert math.floor(ext(ext(ext(F(1) / 1) * saw(TWO_PI)) * MAX)) == -524288


def main():
    self_check()
    report(cases(), os.path.dirname(os.path.abspath(__file__)))


if __name__ == "__main__":
    main()
