#!/usr/bin/env python3
"""Writes settings files that mix the awkward cases of hand/ at random
(names' case and spacing, quotes, signs, bases, huge and long values, long
lines, duplicates, comments, line ends, byte-order marks, NUL bytes, code
page 1252 bytes). The same seed and count give the same files. The
parity test makes 10,000 of them at test time in a folder of the build;
the committed generated/ came from an earlier version of this script, and
running it with no arguments replaces those 220 files.

    python3 tests/ini-corpus/generate.py [--out FOLDER] [--count N] [--seed S]
"""
import argparse
import os
import random

SEED = 20261207
HERE = os.path.dirname(os.path.abspath(__file__))

INT_KEYS = {
    "gameplay": ["enter_realistic", "use_metric_system", "max_speed_freight", "max_speed_metro"],
    "keys": ["open_left_doors", "open_right_doors", "reload_ini_file_modifier", "reload_ini_file",
             "enter_exit", "throttle_up", "throttle_down", "brake_light", "brake_medium",
             "brake_hard", "change_direction", "toggle_gui_position"],
    "gui": ["background_opacity", "text_opacity"],
}
POSITION_KEYS = ["gui_position_%s_%d" % (axis, i) for i in range(4) for axis in "xy"]

INT_TEXTS = [
    "0", "1", "7", "70", "255", "256", "-1", "+5", "-0", "--5", "+-5", "- 5", "+", "-", "017", "0x1F", "0X1F",
    "0x", "0xffffffff", "0x100000000", "0o17", "0b101", "0b2", "0xG", "4294967295", "4294967296",
    "99999999999999999999", "-2147483649", "3.7", "1e3", "42abc", "abc", " 12", "12 ", "1 2",
    "12345678901234567890123456789", "123456789012345678901234567890", "0" * 40 + "9",
    "\xb2", "\xbd", "0x7fffffff", "-0x10", "+0b11", "1;2", "5 ; fast", "#9", "1\x002", "\x005", "0x1\x00F",
]
POSITION_TEXTS = [
    "0.0", "0.5", "0.25", "1", "-0.5", "+0.5", ".5", "1.", "1e3", "1e39", "1e-50", "abc", "", "0,5", "inf",
    "nan", "0x1p-1", "  0.75  ", "0.5 extra", "0.5;", "0.5 ; note", "#0.5", "\x80", "0.5\xe9", "\xa0 0.5",
    "340282356779733661637539395458142568448", "- 0.5", "=0.5", "0.5=0.6", "'", "\"",
    "0.5\x00junk", "\x000.5", "'0.5\x00'", "\x930.5\x94", "0.\xbd",
]
QUOTES = ['"', "'"]
# Bytes an editor in another code page or a broken tool leaves behind.
STRAY_BYTES = ["\x00", "\x00", "\xe9", "\x80", "\xa0", "\xff", "\x81", "\x9d", "\xb2", "\x1a", "\x85"]
NOISE_LINES = ["", "; comment", "# hash", "   ", "stray text", "\x00", "\x00\x00[gui]", "caf\xe9=1", "\x80\x9d\xff"]


def vary_case(rng, name):
    pick = rng.random()
    if pick < 0.7:
        return name
    if pick < 0.8:
        return name.upper()
    if pick < 0.9:
        return name.title()
    return "".join(c.upper() if rng.random() < 0.5 else c for c in name)


def stray(rng, text):
    """Now and then one stray byte somewhere in text."""
    if rng.random() < 0.9:
        return text
    at = rng.randint(0, len(text))
    return text[:at] + rng.choice(STRAY_BYTES) + text[at:]


def long_text(rng):
    return rng.choice(["x", "ab=", "0.5 ", "[]", "; "]) * rng.choice([100, 1000, 10000])


def blanks(rng):
    return rng.choice(["", "", "", " ", "  ", "\t", " \t", "\x0b", "\x1a"])


def int_value(rng):
    pick = rng.random()
    if pick < 0.35:
        return str(rng.randint(0, 300))
    if pick < 0.85:
        return rng.choice(INT_TEXTS)
    if pick < 0.95:
        digits = rng.randint(20, 40)
        return "".join(rng.choice("0123456789") for _ in range(digits))
    return str(rng.randint(-2**40, 2**40))


def position_value(rng):
    pick = rng.random()
    if pick < 0.35:
        return "%.*f" % (rng.randint(0, 8), rng.uniform(-1.5, 1.5))
    if pick < 0.75:
        return rng.choice(POSITION_TEXTS)
    # Around the 100-character buffer, and far past it.
    length = rng.choice([96, 97, 98, 99, 100, 101, 102, 150, 150, 400])
    return "0." + "".join(rng.choice("0123456789") for _ in range(length - 2))


def maybe_quoted(rng, value):
    pick = rng.random()
    if pick < 0.8:
        return value
    if pick < 0.9:
        q = rng.choice(QUOTES)
        return q + value + q
    if pick < 0.95:
        return rng.choice(QUOTES) + value
    return '"' + value + "'"


def key_lines(rng, name, value):
    """The lines one key becomes: usually one, sometimes none, a stray
    variant, or a duplicate with another value."""
    pick = rng.random()
    if pick < 0.08:
        return []
    written = blanks(rng) + stray(rng, vary_case(rng, name)) + blanks(rng)
    if pick < 0.13:
        return [written]  # no "="
    if pick < 0.18:
        return [written + "=" + blanks(rng)]  # empty value
    line = written + "=" + blanks(rng) + maybe_quoted(rng, stray(rng, value)) + blanks(rng)
    lines = [line]
    extra = rng.random()
    if extra < 0.08:
        lines.append(name + "=" + maybe_quoted(rng, value + "1"))  # later duplicate, ignored
    elif extra < 0.12:
        lines.insert(0, ";" + name + "=" + value)  # a commented-out copy before it
    elif extra < 0.15:
        lines.insert(0, "=" + value)  # a line with no name
    return lines


def header(rng, section):
    pick = rng.random()
    name = vary_case(rng, section)
    if pick < 0.75:
        return "[" + name + "]"
    if pick < 0.85:
        return blanks(rng) + "[" + blanks(rng) + name + blanks(rng) + "]" + blanks(rng)
    if pick < 0.92:
        return "[" + name + "]" + rng.choice([" ; note", "x", "]", " trailing"])
    if pick < 0.95:
        return "[" + name  # never closed
    if pick < 0.97:
        return "[" + name + rng.choice(["\x00junk]", "\xe9]", "\x00]"])
    return "[" + name + "s]"  # a different section


def sections(rng):
    blocks = []
    for section, names in INT_KEYS.items():
        lines = []
        for name in names:
            lines += key_lines(rng, name, int_value(rng))
        if section == "gui":
            for name in POSITION_KEYS:
                lines += key_lines(rng, name, position_value(rng))
        rng.shuffle(lines) if rng.random() < 0.2 else None
        blocks.append((section, lines))
    if rng.random() < 0.3:
        rng.shuffle(blocks)
    return blocks


def render(rng):
    out = []
    if rng.random() < 0.1:
        out.append(rng.choice(INT_KEYS["keys"]) + "=" + int_value(rng))  # before any header
    if rng.random() < 0.5:
        out.append("; Velquorin settings")
    for section, lines in sections(rng):
        out.append(header(rng, section))
        for line in lines:
            pick = rng.random()
            if pick < 0.1:
                out.append(rng.choice(NOISE_LINES))
            elif pick < 0.11:
                out.append(long_text(rng))
            out.append(line)
        if rng.random() < 0.1:
            # The same section again: invisible to the reader.
            out.append("[" + section + "]")
            names = INT_KEYS[section] + (POSITION_KEYS if section == "gui" else [])
            out.append(rng.choice(names) + "=" + int_value(rng))
    ending = rng.choice(["\n"] * 5 + ["\r\n"] * 3 + ["\r", "mixed"])
    text = ""
    for line in out:
        text += line + (rng.choice(["\n", "\r\n", "\r", "\n\n"]) if ending == "mixed" else ending)
    if rng.random() < 0.15:
        text = text.rstrip("\r\n")  # no final newline
    return text


def encode(rng, text):
    raw = text.encode("latin-1")
    pick = rng.random()
    if pick < 0.85:
        return raw
    if pick < 0.87:
        return b"\xef\xbb\xbf" + raw  # a UTF-8 mark over code-page bytes
    if pick < 0.93:
        return b"\xef\xbb\xbf" + text.encode("utf-8")
    if pick < 0.97:
        return b"\xff\xfe" + text.encode("utf-16-le")
    return b"\xfe\xff" + text.encode("utf-16-be")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(HERE, "generated"))
    parser.add_argument("--count", type=int, default=220)
    parser.add_argument("--seed", type=int, default=SEED)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.out, exist_ok=True)
    for old in os.listdir(args.out):
        if old.endswith(".ini"):
            os.remove(os.path.join(args.out, old))
    for i in range(args.count):
        with open(os.path.join(args.out, "mix-%03d.ini" % i), "wb") as f:
            f.write(encode(rng, render(rng)))
    print("wrote %d files to %s" % (args.count, args.out))


if __name__ == "__main__":
    main()
