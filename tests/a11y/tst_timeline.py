#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The screen-reader check's figures, from made-up recordings of a play whose answers are known:
which sounds of the game are found, when both voices sound together, what both say, and where the
focus rested. Exits 77 where numpy is missing."""
import json
import os
import subprocess
import sys
import tempfile
import wave

try:
    import numpy as np
except ImportError:
    print("skipped: no numpy (Debian: python3-numpy)")
    sys.exit(77)

TIMELINE = sys.argv[1]
RATE = 48000
START = 1000.0  # the play's start on the wall clock
random = np.random.default_rng(7)


def recording(seconds):
    """A mono recording of noise, unlike any other."""
    return (random.standard_normal(int(seconds * RATE)) * 6000).astype(np.int16)


def write_wave(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(samples.tobytes())


def jsonl(path, records):
    with open(path, "w", encoding="utf-8") as out:
        for record in records:
            out.write(json.dumps(record) + "\n")


def play(folder, sounds, speech, echoes=(), focus=(), keys=(1.0, 3.0), seconds=8.0):
    """Writes what play-with-orca.sh writes: the game's sounds at their seconds (name, start, where:
    "left" or "both"), Orca's utterances (start, end, text), its logged key echoes (second, text)."""
    game = os.path.join(folder, "game")
    os.makedirs(os.path.join(game, "wave"))
    output = np.zeros((int(seconds * RATE), 2), dtype=np.int32)
    made = {}
    for name, at, where in sounds:
        if name not in made:
            made[name] = recording(0.6 if name != "welcome" else 1.5)
            write_wave(os.path.join(game, "wave", name + ".wav"), made[name])
        first = int(at * RATE)
        output[first:] = 0  # one sound at a time: a new one ends the one before
        part = made[name][: len(output) - first]
        output[first:first + len(part), 0] += part
        if where == "both":
            output[first:first + len(part), 1] += part
    output.clip(-32768, 32767).astype(np.int16).tofile(os.path.join(folder, "game.raw"))
    # The audio file grew in real time, written every 10 ms.
    jsonl(os.path.join(folder, "clock.jsonl"),
          [{"time": START + t / 100, "bytes": int(t / 100 * RATE) * 4} for t in range(int(seconds * 100) + 1)])
    jsonl(os.path.join(folder, "keys.jsonl"), [{"event": "start", "time": START}]
          + [{"event": "key", "key": "Tab", "time": START + k} for k in keys])
    jsonl(os.path.join(folder, "speech.jsonl"),
          [{"start": START + s, "end": START + e, "text": text, "voice": "nb", "stopped": False}
           for s, e, text in speech])
    jsonl(os.path.join(folder, "focus.jsonl"), list(focus))
    with open(os.path.join(folder, "orca.log"), "w", encoding="utf-8") as log:
        for second, text in echoes:
            stamp = START + second
            clock = "%02d:%02d:%09.6f" % (stamp // 3600 % 24, stamp // 60 % 60, stamp % 60)
            log.write(f"{clock} - SPEECH OUTPUT: '{text} ' {{'established': False}}\n")
    with open(os.path.join(folder, "language"), "w") as language:
        language.write("nb\n")
    result = subprocess.run([sys.executable, TIMELINE, folder, os.path.join(game, "velkarn"), "--json"],
                            capture_output=True, text=True, check=True)
    return json.loads(result.stdout)


def shown(role, name, visible=True):
    return {"time": START + 2, "role": role, "name": name, "showing": visible, "visible": visible, "enabled": True}


CASES = [
    # name, sounds, Orca's speech, key echoes, focus, expected figures
    ("the list's number said by both",
     [("welcome", 0.0, "both"), ("nr4", 1.1, "both")], [(1.3, 1.8, "4.")], [], [],
     {"game_sounds": 2, "keys_with_both": 1, "together_after_first_key_s": 0.4, "together_with_welcome_s": 0.4,
      "said_by_both": 1}),
    ("the window read over the welcome, door 1 heard on the left alone",
     [("welcome", 0.2, "both"), ("nr1", 3.2, "left")], [(0.4, 0.9, "Velkarn ramme.")], [], [],
     {"game_sounds": 2, "keys_with_both": 0, "together_after_first_key_s": 0.0, "together_with_welcome_s": 0.5,
      "said_by_both": 0}),
    ("Orca's key echo is counted apart; its number after the game's is a repeat",
     [("nr3", 3.1, "both")], [(3.0, 3.5, "tab"), (4.0, 4.4, "3.")], [(2.95, "tab")], [],
     {"game_sounds": 1, "keys_with_both": 0, "keys_with_both_echo_counted": 1,
      "together_after_first_key_echo_counted_s": 0.4, "said_by_both": 1}),
    ("effects are no voice, and a name Orca tells alone is no repeat",
     [("door_open", 1.2, "left")], [(1.3, 1.9, "1 trykknapp.")], [], [],
     {"game_sounds": 1, "keys_with_both": 0, "together_after_first_key_s": 0.0, "said_by_both": 0}),
    ("focus on hidden controls",
     [("nr5", 1.0, "both")], [], [],
     [shown("push button", "3", visible=False), shown("list item", "5"), shown("frame", "Velkarn", visible=False)],
     {"focus_on_hidden": 1}),
]


def main():
    failures = 0
    for name, sounds, speech, echoes, focus, expected in CASES:
        with tempfile.TemporaryDirectory() as folder:
            figures = play(folder, sounds, speech, echoes, focus)
        wrong = {key: (figures.get(key), value) for key, value in expected.items()
                 if not (abs(figures.get(key, -1) - value) <= 0.02 if isinstance(value, float)
                         else figures.get(key) == value)}
        print(("FAIL" if wrong else "PASS") + f": {name}" + (f" (found, expected: {wrong})" if wrong else ""))
        failures += bool(wrong)
    print(f"{len(CASES) - failures} passed, {failures} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
