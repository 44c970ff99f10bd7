#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Aligns what the screen reader said with what the game played, as written down by
play-with-orca.sh, and prints it key by key with the overlap figures.

  timeline.py OUT_DIR GAME [--json] [--check]

With --check it exits 1 when Orca said nothing, the game played nothing, a key was not sent, or the
focus rested on a hidden or disabled control.

The game's voice is its speech recordings (found in the disk-audio file by cross-correlation with
the recordings beside GAME); its effects are listed but are no voice. Orca's echo of the key itself
(a key name Orca says because the key was pressed) is shown and counted apart.
"""
import json
import os
import re
import sys
import wave
from datetime import datetime, timezone

import numpy as np

RATE, CHANNELS = 48000, 2
DECIMATE = 4  # correlation at 12 kHz is plenty to tell the recordings apart
MATCH = 0.9  # normalised correlation over its first quarter second above which a recording starts there
BOTH = 0.05  # seconds of overlap below which two voices do not count as sounding together


def jsonl(path):
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as lines:
        return [json.loads(line) for line in lines if line.strip()]


def phrases(folder):
    """Each recording's name and its text, from the phrase list beside the recordings' sources."""
    texts = {}
    for path in (os.path.join(folder, "speech.txt"),):
        if os.path.exists(path):
            for line in open(path, encoding="utf-8"):
                if ":" in line and not line.startswith("#"):
                    name, text = line.split(":", 1)
                    texts[name.strip()] = text.strip()
    return texts


def read_wave(path):
    with wave.open(path) as w:
        data = np.frombuffer(w.readframes(w.getnframes()), dtype=np.int16).astype(np.float32)
        if w.getnchannels() == 2:
            data = data[0::2] + data[1::2]
        return data, w.getframerate()


def mono(samples):
    return samples[0::2].astype(np.float32) + samples[1::2].astype(np.float32)


def find_recordings(output, recordings):
    """(frame, name, frames) for every recording that starts in the output."""
    out = output[::DECIMATE]
    found = []
    n = 1
    while n < 2 * len(out):
        n *= 2
    spectrum = np.fft.rfft(out, n)
    energy = np.concatenate(([0.0], np.cumsum(out.astype(np.float64) ** 2)))
    for name, (samples, rate) in recordings.items():
        if rate != RATE:
            continue
        rec = samples[::DECIMATE]
        loud = np.flatnonzero(np.abs(rec) > 0.05 * np.abs(rec).max()) if rec.size else []
        if len(loud) == 0:
            continue
        skip = int(loud[0])
        window = rec[skip:skip + 3000]  # a quarter second of its first sound
        if window.size < 200:
            continue
        norm = np.sqrt((window.astype(np.float64) ** 2).sum())
        corr = np.fft.irfft(spectrum * np.conj(np.fft.rfft(window, n)), n)[:len(out)]
        w = window.size
        local = np.sqrt(np.maximum(energy[np.minimum(np.arange(len(out)) + w, len(out))] - energy[:len(out)], 1e-9))
        score = corr / (norm * local)
        hits = np.flatnonzero(score > MATCH)
        last = -10 ** 9
        for hit in hits:
            if hit - last < 2400:  # one start per 200 ms
                continue
            top = hit + int(np.argmax(score[hit:hit + 240]))
            found.append(((top - skip) * DECIMATE, name, len(samples), float(score[top])))
            last = hit
    found.sort()
    # Of two recordings found at the same start (a number inside a longer phrase), the better match.
    kept = []
    for start, name, frames, score in found:
        if kept and abs(kept[-1][0] - start) < 480:
            if score > kept[-1][3]:
                kept[-1] = (start, name, frames, score)
            continue
        kept.append((start, name, frames, score))
    return kept


def active_spans(output, block=256, floor=30.0, gap_blocks=20):
    """Frame spans in which the output is not silent."""
    blocks = len(output) // block
    if blocks == 0:
        return []
    peak = np.abs(output[:blocks * block].reshape(blocks, block)).max(axis=1)
    spans = []
    for index in np.flatnonzero(peak > floor):
        start, end = index * block, (index + 1) * block
        if spans and start - spans[-1][1] <= gap_blocks * block:
            spans[-1][1] = end
        else:
            spans.append([start, end])
    return spans


def total(spans):
    return sum(end - start for start, end in spans)


def union(spans):
    merged = []
    for start, end in sorted(spans):
        if merged and start <= merged[-1][1]:
            merged[-1][1] = max(merged[-1][1], end)
        else:
            merged.append([start, end])
    return merged


def intersect(a, b):
    out = []
    for s1, e1 in union(a):
        for s2, e2 in union(b):
            s, e = max(s1, s2), min(e1, e2)
            if s < e:
                out.append([s, e])
    return out


def clip(spans, start, end):
    return [[max(s, start), min(e, end)] for s, e in spans if min(e, end) > max(s, start)]


def orca_echoes(path):
    """Times and texts of Orca's key echo, from its debug log."""
    echoes = []
    if not os.path.exists(path):
        return echoes
    day = None
    for line in open(path, encoding="utf-8", errors="replace"):
        match = re.match(r"(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*) ' ", line)
        if match:
            h, m, s, text = int(match[1]), int(match[2]), float(match[3]), match[4]
            echoes.append((h * 3600 + m * 60 + s, text.strip()))
    return echoes


NUMBER = re.compile(r"\b(\d{1,2})\b")


def main():
    out, game = sys.argv[1], sys.argv[2]
    as_json = "--json" in sys.argv
    keys = jsonl(os.path.join(out, "keys.jsonl"))
    start = keys[0]["time"]
    keys = [k for k in keys if k["event"] == "key"]
    speech = jsonl(os.path.join(out, "speech.jsonl"))
    focus = jsonl(os.path.join(out, "focus.jsonl"))
    clock = jsonl(os.path.join(out, "clock.jsonl"))
    language = "nb"
    for arg in open(os.path.join(out, "language")).read().split():
        language = arg
    folder = os.path.join(os.path.dirname(game), "wave")
    speech_folder = folder if language == "nb" else os.path.join(folder, language)
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "wave")
    texts = phrases(os.path.join(source, "" if language == "nb" else language))

    recordings = {}
    for base, names in ((speech_folder, texts.keys()),
                        (folder, ("door_open", "door_closed", "error", "success", "volume"))):
        for name in names:
            path = os.path.join(base, name + ".wav")
            if os.path.exists(path):
                recordings[name] = read_wave(path)

    raw = np.fromfile(os.path.join(out, "game.raw"), dtype=np.int16)
    output = mono(raw[: len(raw) // 2 * 2])
    bytes_at = np.array([c["bytes"] for c in clock if c["bytes"] >= 0], dtype=np.float64)
    times_at = np.array([c["time"] for c in clock if c["bytes"] >= 0], dtype=np.float64)

    def when(frame):
        """Wall-clock time at which the output's frame was written (played)."""
        return float(np.interp(frame * 4, bytes_at, times_at)) - start

    spans = active_spans(output)
    found = find_recordings(output, recordings)
    sounds = []  # (start s, end s, name, speech?)
    for i, (frame, name, frames, score) in enumerate(found):
        end = frame + frames
        if i + 1 < len(found):
            end = min(end, found[i + 1][0])
        heard = clip([[s, e] for s, e in spans], frame, end)
        if not heard:
            continue
        sounds.append((when(frame), when(heard[-1][1]), name, name in texts))
    game_voice = [[s, e] for s, e, name, is_speech in sounds if is_speech]

    # Orca's key echo: an utterance whose text Orca logged as a key name within a second before it.
    day_start = datetime.fromtimestamp(start, timezone.utc).replace(hour=0, minute=0, second=0, microsecond=0).timestamp()
    echoes = [(day_start + t - start, text) for t, text in orca_echoes(os.path.join(out, "orca.log"))]
    said = []
    unclaimed = list(echoes)
    for u in sorted(speech, key=lambda u: u["start"]):
        s, e = u["start"] - start, u["end"] - start
        # Each key name Orca logged is the first utterance of that text after it.
        echo = next((x for x in unclaimed if x[1] == u["text"].strip() and -0.05 <= s - x[0] <= 5.0), None)
        if echo:
            unclaimed.remove(echo)
        said.append({"start": s, "end": e, "text": u["text"], "echo": echo is not None, "stopped": u["stopped"]})
    said.sort(key=lambda u: u["start"])
    reader_all = [[u["start"], u["end"]] for u in said]
    reader = [[u["start"], u["end"]] for u in said if not u["echo"]]

    key_times = [k["time"] - start for k in keys]
    first = key_times[0] if key_times else 0.0
    end_time = max([first + 60] + [e for _, e in reader_all] + [e for _, e, _, _ in sounds])
    both = intersect(reader, game_voice)
    both_all = intersect(reader_all, game_voice)

    # The same number or prompt said by both voices within two seconds of each other.
    def meaning(name):
        if name.startswith("nr"):
            return [name[2:]] + [texts.get(name, "")]
        return [texts.get(name, "").rstrip(".!").lower()]

    repeats = []
    for u in said:
        if u["echo"]:
            continue
        spoken = u["text"].lower()
        for s, e, name, is_speech in sounds:
            # Orca's repeat starts at most a moment before the game's sound, or while it plays.
            if not is_speech or not -0.3 <= u["start"] - s <= max(1.5, e - s):
                continue
            words = meaning(name)
            if name.startswith("nr"):
                numbers = NUMBER.findall(spoken)
                hit = bool(numbers) and numbers[0] == name[2:] and spoken.lstrip().startswith(numbers[0])
            else:
                hit = bool(words[0]) and (words[0] in spoken or spoken.rstrip(": .") in words[0] and len(spoken) > 6)
            if hit:
                repeats.append((u["start"], u["text"], name))
                break

    hidden = [f for f in focus if "error" not in f and f.get("role") not in ("frame", "window", "dialog")
              and not (f["showing"] and f["visible"] and f["enabled"])]

    windows = []
    for i, t in enumerate(key_times):
        next_t = key_times[i + 1] if i + 1 < len(key_times) else end_time
        windows.append((keys[i]["key"], t, next_t))

    lines = []
    def show_window(label, t0, t1):
        lines.append(f"{label}")
        for u in said:
            if t0 <= u["start"] < t1:
                mark = " (key echo)" if u["echo"] else ""
                cut = ", cut" if u["stopped"] else ""
                lines.append(f"    {u['start']:6.2f}-{u['end']:6.2f}  Orca: {u['text']!r}{mark}{cut}")
        for s, e, name, is_speech in sounds:
            if t0 <= s < t1:
                what = repr(texts[name]) if is_speech and len(texts[name]) < 60 else "(" + name + ")"
                lines.append(f"    {s:6.2f}-{e:6.2f}  game: {what}")
        for f in focus:
            if "error" not in f and t0 <= f["time"] - start < t1:
                state = ("  HIDDEN" if not (f["showing"] and f["visible"]) else
                         "  not enabled" if not f["enabled"] else "")
                lines.append(f"    {f['time'] - start:6.2f}         focus: {f['role']} {f['name']!r}{state}")
        lap = total(clip(both, t0, t1))
        lap_all = total(clip(both_all, t0, t1))
        lines.append(f"    together: {lap:.2f} s ({lap_all:.2f} s with the key echo)")

    show_window("start (welcome)", -1.0, first)
    for key, t0, t1 in windows:
        show_window(f"{key} at {t0:.2f} s", t0, t1)

    figures = {
        "language": language,
        "keys": len(keys),
        "keys_with_both": sum(total(clip(both, t0, t1)) > BOTH for _, t0, t1 in windows),
        "keys_with_both_echo_counted": sum(total(clip(both_all, t0, t1)) > BOTH for _, t0, t1 in windows),
        "together_after_first_key_s": round(total(clip(both, first, end_time)), 2),
        "together_with_welcome_s": round(total(both), 2),
        "together_after_first_key_echo_counted_s": round(total(clip(both_all, first, end_time)), 2),
        "together_with_welcome_echo_counted_s": round(total(both_all), 2),
        "said_by_both": len(repeats),
        "said_by_both_list": [f"{t:.2f} {text!r} ~ {name}" for t, text, name in repeats],
        "focus_on_hidden": len(hidden),
        "reader_utterances": len(said),
        "game_sounds": len(sounds),
        "audio_clock_ratio": round((bytes_at[-1] - bytes_at[0]) / (4 * RATE) / max(1e-9, times_at[-1] - times_at[0]), 3)
        if len(bytes_at) > 1 else None,
    }
    if as_json:
        print(json.dumps(figures, ensure_ascii=False, indent=1))
        return
    print("\n".join(lines))
    print()
    print(f"Language {language}: {figures['keys']} keys, {figures['reader_utterances']} utterances by Orca, "
          f"{figures['game_sounds']} sounds by the game (audio file clock {figures['audio_clock_ratio']} of real time)")
    print(f"  both voices at once after {figures['keys_with_both']} of the keys "
          f"({figures['keys_with_both_echo_counted']} counting Orca's key echo)")
    print(f"  together {figures['together_after_first_key_s']} s after the first key, "
          f"{figures['together_with_welcome_s']} s counting the welcome "
          f"({figures['together_after_first_key_echo_counted_s']} / {figures['together_with_welcome_echo_counted_s']} s with the key echo)")
    print(f"  numbers and prompts said by both: {figures['said_by_both']} {figures['said_by_both_list']}")
    print(f"  focus events on hidden or disabled controls: {figures['focus_on_hidden']}")
    with open(os.path.join(out, "figures.json"), "w", encoding="utf-8") as f:
        json.dump(figures, f, ensure_ascii=False, indent=1)
    if "--check" in sys.argv:
        faults = [what for what, fault in (("Orca said nothing", not said), ("the game played nothing", not sounds),
                                           ("not every key was sent", len(keys) != 16),
                                           ("the focus rested on a hidden control", hidden)) if fault]
        if faults:
            print("FAILED: " + "; ".join(faults))
            sys.exit(1)


if __name__ == "__main__":
    main()
