#!/usr/bin/env python3
"""Writes src/host/game_controls_table.cpp from the list of the game's controls.

The list is tab-separated, one control a line: index, name, default keyboard
key, default pad button, as the public control lists write them ("LEFT CTRL",
"NUMPAD 7", "F / LEFT MOUSE BUTTON", "(NONE)"). Mouse inputs are no keys and
are left out. With --check the table is compared with the file instead of
written: the status is 1 when they differ.

    scripts/game-controls-table.py game-controls.tsv [--check]
"""
import os
import sys

# A physical key as the table names it: the code of its own record in the
# key table, the left or right code of a modifier, the keypad's NumLock-on
# code, a dedicated navigation key's own code.
KEYS = {
    "SPACEBAR": 32, "TAB": 9, "ENTER": 13, "NUMPAD ENTER": 13, "ESC": 27, "BACKSPACE": 8, "CAPSLOCK": 20,
    "DELETE": 46, "INSERT": 45, "HOME": 36, "PAGE UP": 33, "PAGEUP": 33, "PAGE DOWN": 34, "PAGEDOWN": 34,
    "ARROW UP": 38, "ARROW DOWN": 40, "ARROW LEFT": 37, "ARROW RIGHT": 39,
    "LEFT CTRL": 162, "LEFT CONTROL": 162, "LEFT SHIFT": 160, "LEFT ALT": 164,
    "NUMPAD -": 109, "NUMPAD-": 109, "NUMPAD +": 107, "NUMPAD+": 107,
    "[": 219, "]": 221, "~ / `": 192, "=": 187, "-": 189, ",": 188, ".": 190,
    "F8 (CONSOLE)": 119,
}
KEYS.update({chr(c): c for c in range(ord("A"), ord("Z") + 1)})
KEYS.update({str(d): 48 + d for d in range(10)})
KEYS.update({"F%d" % n: 111 + n for n in range(1, 13)})
KEYS.update({"NUMPAD %d" % n: 96 + n for n in range(10)})
NOT_KEYS = ("MOUSE", "SCROLLWHEEL")

PADS = {
    "A": "A", "B": "B", "X": "X", "Y": "Y", "LB": "LB", "RB": "RB", "LT": "LT", "RT": "RT", "L3": "L3", "R3": "R3",
    "DPAD UP": "DpadUp", "DPAD DOWN": "DpadDown", "DPAD LEFT": "DpadLeft", "DPAD RIGHT": "DpadRight",
    "BACK": "Back", "START": "Start", "LEFT STICK": "LeftStick", "RIGHT STICK": "RightStick",
    "(NONE)": "None", "": "None",
}


def keys_of(text):
    if text in ("", "(NONE)"):
        return []
    parts = [text] if text in KEYS else [part.strip() for part in text.split(" / ")]
    codes = []
    for part in parts:
        if any(word in part for word in NOT_KEYS):
            continue
        if part not in KEYS:
            sys.exit("unknown key: %r" % part)
        if KEYS[part] not in codes:
            codes.append(KEYS[part])
    if len(codes) > 2:
        sys.exit("more than two keys: %r" % text)
    return codes


def key_literal(code):
    return "'%s'" % chr(code) if "A" <= chr(code) <= "Z" or "0" <= chr(code) <= "9" else str(code)


def table(path):
    rows = []
    with open(path, encoding="utf-8") as tsv:
        lines = tsv.read().splitlines()
    for number, line in enumerate(lines[1:]):
        index, name, keyboard, pad = (line.split("\t") + ["", "", "", ""])[:4]
        if int(index) != number:
            sys.exit("control %s out of order" % index)
        if not name.startswith("INPUT_"):
            sys.exit("unexpected name %r" % name)
        codes = keys_of(keyboard.strip()) + [0, 0]
        rows.append('    {"%s", {%s, %s}, PadButton::%s},  // %d\n'
                    % (name[len("INPUT_"):], key_literal(codes[0]), key_literal(codes[1]), PADS[pad.strip()], number))
    return ("// The game's controls, one row each in index order: the name (without its\n"
            "// INPUT_ prefix), the keyboard keys and the pad button the game binds it to\n"
            "// by default. Written by scripts/game-controls-table.py from the public\n"
            "// control lists; mouse inputs are left out.\n"
            '#include "host/game_controls.h"\n\n'
            "const GameControl GameControls[GameControlCount] = {\n" + "".join(rows) + "};\n"
            "static_assert(sizeof GameControls / sizeof GameControls[0] == %d);\n" % len(rows))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    text = table(sys.argv[1])
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "host", "game_controls_table.cpp")
    if "--check" in sys.argv[2:]:
        with open(out, encoding="utf-8") as current:
            same = current.read() == text
        print("the table matches the list" if same else "the table differs from the list: run without --check")
        sys.exit(0 if same else 1)
    with open(out, "w", encoding="utf-8") as written:
        written.write(text)


main()
