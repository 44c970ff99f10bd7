#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Small probes for play-with-orca.sh, each writing one JSON line per observation, with wall-clock times.

  probes.py voice SAID LOG RATE    each utterance that speech-dispatcher's command wrote to SAID
                                   ("time pid voice text") lasts as long as espeak-ng at RATE words
                                   a minute would take to say it, unless speech-dispatcher stops it
  probes.py focus LOG APP          every focus change in the application APP, with its visibility
  probes.py clock LOG FILE         when each part of SDL's disk-audio FILE was written
"""
import json
import os
import subprocess
import sys
import time


def append(log, record):
    with open(log, "a", encoding="utf-8") as out:
        out.write(json.dumps(record, ensure_ascii=False) + "\n")


def voice(said, log, rate):
    """Follows speech-dispatcher's utterances: each is a `sleep` that this ends when espeak-ng would
    have finished saying its text, unless speech-dispatcher stopped it before."""
    lengths = {}
    speaking = {}  # pid: (start, text, voice, end)
    position = 0
    while True:
        if not os.path.isdir(os.path.dirname(said)):
            return  # the run is over
        if os.path.exists(said):
            with open(said, encoding="utf-8", errors="replace") as lines:
                lines.seek(position)
                for line in lines:
                    if not line.endswith("\n"):
                        break
                    position += len(line.encode("utf-8"))
                    start, pid, name, text = (line.rstrip("\n").split(" ", 3) + ["", "", ""])[:4]
                    text = text.strip()
                    if (name, text) not in lengths:
                        wav = subprocess.run(["espeak-ng", "-v", name or "en", "-s", rate, "--stdout", text],
                                             capture_output=True, check=False).stdout
                        lengths[(name, text)] = max(0, len(wav) - 44) / (22050 * 2)  # 16-bit mono, 22.05 kHz
                    speaking[int(pid)] = (float(start), text, name, float(start) + lengths[(name, text)])
        now = time.time()
        for pid, (start, text, name, end) in list(speaking.items()):
            gone = not os.path.exists(f"/proc/{pid}") or open(f"/proc/{pid}/stat").read().split()[2] == "Z"
            if gone or now >= end:
                if not gone:
                    os.kill(pid, 9)  # speech-dispatcher blocks the other signals in it
                append(log, {"start": start, "end": min(now, end), "text": text, "voice": name,
                             "stopped": gone and now < end})
                del speaking[pid]
        time.sleep(0.005)


def focus(log, app_name):
    import pyatspi

    def changed(event):
        if not event.detail1:
            return
        try:
            source = event.source
            if source.getApplication().name != app_name:
                return
            states = source.getState()
            append(log, {"time": time.time(), "role": source.getRoleName(), "name": source.name,
                         "objectName": source.accessibleId if hasattr(source, "accessibleId") else "",
                         "showing": states.contains(pyatspi.STATE_SHOWING),
                         "visible": states.contains(pyatspi.STATE_VISIBLE),
                         "enabled": states.contains(pyatspi.STATE_ENABLED)})
        except Exception as error:  # an object gone before it could be asked
            append(log, {"time": time.time(), "error": str(error)})

    pyatspi.Registry.registerEventListener(changed, "object:state-changed:focused")
    pyatspi.Registry.start()


def clock(log, path):
    last = -1
    while True:
        try:
            size = os.path.getsize(path)
        except OSError:
            size = -1
        if size != last:
            append(log, {"time": time.time(), "bytes": size})
            last = size
        time.sleep(0.002)


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    {"voice": voice, "focus": focus, "clock": clock}[command](*args)
