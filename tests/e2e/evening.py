#!/usr/bin/python3
"""An evening at the decks: the real program under a virtual display, driven only by real
clicks and keys, its sound recorded from a null sink and measured afterwards.

Usage: evening.py VELMOR_BINARY ARTEFACT_DIR"""

import subprocess
import sys
import time
from pathlib import Path

import numpy as np

sys.path.insert(0, str(Path(__file__).parent))
from desktop import (ADD, ADD_FOLDER, FILE_LIST_FIRST_ROW, FOLDER_LIST_BLANK, NAME_BOX,  # noqa: E402
                     SAVE, SAVE_LIST, ULTRA_DECK_1, Desktop, opt_pla, scene)
from sound import Recording, write_mp3_tone, write_tone  # noqa: E402

# Each fixture track is a steady tone of its own, so the recording tells which one played.
A, B, C, D = 440.0, 550.0, 660.0, 880.0


def heard(rec, frequency, mark, up):
    """When the change a key made is heard: the first rise (or fall) of `frequency` through
    -30 dBFS from 0.5 s before the key's mark to 1 s after it; None when there is none.
    The marks are shifted so that the Play key's first sound falls on its mark, and another
    key is heard with a delay of its own: xdotool starting, the X server and the window's
    event loop (tens of ms each, more when they wait for a core), one 256-frame buffer
    (6 ms), the device's (35 ms), the sound server's and the recorder's (20 ms). On a quiet
    machine and a busy one alike a key is heard within 0.1 s of where Play's delay puts it;
    a second either way still tells one key from the next (they are at least 1 s apart)."""
    return next((t for t, rose in rec.onsets(frequency, mark - 0.5, mark + 1.0) if rose == up), None)


def decibels(level):
    return "not heard" if level is None else f"{level:.1f}"


def held(rec, frequency, since, until):
    """The level of `frequency` while a key's change holds: from one change heard to the
    next. The changes are found in 50 ms windows, and a level ramps over 50 ms, so 0.15 s
    at either end is left out."""
    if since is None or until is None:
        return None
    return rec.level_db(frequency, since + 0.15, until - 0.15)


def add_file(desk, deck, row):
    """Makes `deck` the active one and adds the file list's entry `row` (from 0) to it."""
    desk.click(*opt_pla(deck))
    desk.click(*FILE_LIST_FIRST_ROW)
    for _ in range(row):
        desk.key("Down")
    desk.click(*ADD)
    time.sleep(0.3)


def make_music(root: Path):
    music = root / "music"
    playlists = music / "playlists"
    playlists.mkdir(parents=True)
    for name, frequency, seconds in [("a", A, 2.0), ("b", B, 2.0), ("d", D, 40.0)]:
        write_mp3_tone((playlists if name == "d" else music) / f"{name}.mp3", frequency, seconds)
    write_tone(music / "c.wav", C, 14.0)
    (playlists / "list.m3u").write_bytes(b"#EXTM3U\r\nd.mp3\r\n")
    return music, playlists


def play(binary, root, artefacts, checks):
    music, playlists = make_music(root)
    marks = {}

    def press(mark, key, seconds):
        """Notes when `key` is pressed, under `mark`, and lets it act for `seconds`."""
        marks[mark] = desk.now()
        desk.key(key)
        time.sleep(seconds)

    with Desktop(root) as desk:
        desk.start(binary, music, root / "evening.wav")

        # Deck 1 gets the whole folder; Deck 2 the playlist in its subfolder.
        desk.click(*ADD_FOLDER)
        desk.click(*opt_pla(1))
        desk.click(*FOLDER_LIST_BLANK)
        desk.key("Down", "Return")
        time.sleep(0.5)
        desk.click(*FILE_LIST_FIRST_ROW)
        desk.click(*ADD)
        time.sleep(0.5)

        press("play", "w", 5.0)  # play/pause Deck 1: a, b and c follow by themselves
        press("fade", "a", 3.0)  # fade Deck 2 in with the defaults
        desk.click(*opt_pla(0))  # the crossfader now runs between Deck 1 and Deck 2
        for key in ["z", "x", "c", "x"]:
            press(key + str(len(marks)), key, 1.0)
        desk.screenshot(artefacts / "playing.png")  # two decks playing, for the README
        press("mute", "r", 1.0)
        press("unmute", "r", 0.0)
        # c.wav ends 18 s after Play; Deck 1 then stands stopped on it.
        time.sleep(max(0.0, marks["play"] + 19.0 - desk.now()))

        desk.click(*ULTRA_DECK_1)
        press("fast", "w", 8.0)
        press("again", "w", 1.5)
        press("stop", "e", 1.0)
        press("restart", "w", 8.0)

        desk.click(*opt_pla(1))
        desk.click(*SAVE_LIST)
        desk.click(*NAME_BOX)
        desk.type("evening")
        desk.click(*SAVE)
        time.sleep(0.5)
        desk.screenshot(artefacts / "evening.png")
        desk.stop_recording()
    (artefacts / "marks.txt").write_text("\n".join(f"{k} {v:.3f}" for k, v in marks.items()))
    subprocess.run(["cp", str(root / "evening.wav"), str(artefacts / "evening.wav")])
    measure(Recording(root / "evening.wav"), marks, playlists, checks)


def measure(rec, marks, playlists, checks):
    shift = rec.clock_shift(A, marks["play"])
    marks = {k: v + shift for k, v in marks.items()}
    p = marks["play"]
    # The tracks of Deck 1 follow one another in list order.
    order = [rec.dominant([A, B, C], p + s, p + s + 0.8) for s in (0.6, 2.6, 4.3)]
    checks.check(order == [A, B, C], f"Deck 1 plays a, b, c in order (heard {order})")
    # Paced by the sound server's clock, not by a key: 0.4 s is eight of the 50 ms windows
    # that find the rise, for the shifted clock's window and the MP3's own padding.
    b_starts = [t for t, up in rec.onsets(B, p, p + 5) if up]
    checks.check(len(b_starts) == 1 and abs(b_starts[0] - p - 2.0) < 0.4,
                 f"b follows a after 2 s (at {[round(t - p, 2) for t in b_starts]})")

    # A default fade in rises from -36 dB to full level over 2 s and never falls. Its full
    # level is where it stays until the first crossfader key (z) is heard.
    f = marks["fade"]
    keys = [(k[0], v) for k, v in marks.items() if k[0] in "zxc" and k[1:].isdigit()]
    # When each key of the mix is heard: z lowers Deck 2 (D), x raises it, c lowers Deck 1
    # (C), x raises it, and mute silences Deck 1.
    changes = [heard(rec, D, keys[0][1], False), heard(rec, D, keys[1][1], True),
               heard(rec, C, keys[2][1], False), heard(rec, C, keys[3][1], True),
               heard(rec, C, marks["mute"], False)]
    delays = [None if t is None else round(t - mark, 2)
              for t, mark in zip(changes, [v for _, v in keys] + [marks["mute"]])]
    checks.check(None not in changes, f"each crossfader key and mute is heard (after {delays} s)")
    if None in changes:
        return
    full = rec.level_db(D, changes[0] - 0.65, changes[0] - 0.15)
    # The fade's first sound: the first moment from which Deck 2's tone stays up.
    f0 = next((t for t in np.arange(f - 0.5, f + 1.0, 0.01)
               if all(rec.level_db(D, t + k * 0.05, t + (k + 1) * 0.05) > full - 45 for k in range(4))), f)
    start = rec.level_db(D, f0 + 0.05, f0 + 0.1) - full
    checks.check(abs(start + 36) < 3, f"fade starts 36 dB down (at {start:.1f} dB)")
    curve = rec.series(D, f0 + 0.05, f0 + 2.5)
    top = next((t for t, db in curve if db > full - 1.0), None)
    checks.check(top is not None and abs(top - f0 - 2.0) < 0.3,
                 f"fade reaches full level after 2 s ({None if top is None else round(top - f0, 2)} s)")
    rising = [db for t, db in curve]
    checks.check(all(b >= a - 1.0 for a, b in zip(rising, rising[1:])), "fade never falls")

    # The crossfader keys: z, x, c, x with Deck 1 active, each until the next is heard.
    # At an end of the crossfader the deck turned down is at volume 0: not heard at all.
    expect = {"z": (0, "silent"), "x": (0, 0), "c": ("silent", 0)}
    ref1 = rec.level_db(C, p + 4.3, p + 4.9)

    def as_wanted(level, wanted):
        return level < -80 if wanted == "silent" else abs(level - wanted) < 2

    for (key, _), since, until in zip(keys, changes, changes[1:]):
        l1 = held(rec, C, since, until) - ref1
        l2 = held(rec, D, since, until) - full
        e1, e2 = expect[key]
        checks.check(as_wanted(l1, e1) and as_wanted(l2, e2),
                     f"crossfader '{key}': Deck 1 {l1:.1f} dB, Deck 2 {l2:.1f} dB (want {e1}, {e2})")

    # Mute silences until unmuting is heard, which restores the level (c.wav plays on until
    # 18 s after Play, more than a second after the unmute key).
    unmuted = heard(rec, C, marks["unmute"], True)
    muted = held(rec, C, changes[-1], unmuted)
    checks.check(muted is not None and muted < -80, f"mute silences ({decibels(muted)} dBFS)")
    back = held(rec, C, unmuted, unmuted + 0.8) - ref1 if unmuted is not None else None
    checks.check(back is not None and abs(back) < 1.5, f"unmute restores ({decibels(back)} dB)")

    # 200 %: c.wav (14 s) plays in 7 s and keeps its tone.
    length = rec.span(C, marks["fast"] - 0.5, marks["again"] - 0.2)
    checks.check(abs(length - 7.0) < 0.3, f"200 % plays the 14 s track in {length:.2f} s")
    peak = rec.loudest_frequency(marks["fast"] + 1, marks["fast"] + 3, 500, 800) or 0
    checks.check(abs(peak - C) < C * 0.01, f"200 % keeps the tone ({peak:.1f} Hz)")

    # Stop silences at once and rewinds: the next Play lasts the whole track again.
    stopped = held(rec, C, heard(rec, C, marks["stop"], False), heard(rec, C, marks["restart"], True))
    checks.check(stopped is not None and stopped < -80, f"stop silences ({decibels(stopped)} dBFS)")
    length = rec.span(C, marks["restart"] - 0.5, marks["restart"] + 8.0)
    checks.check(abs(length - 7.0) < 0.3, f"after Stop the track plays from its start ({length:.2f} s)")

    saved = playlists / "evening.m3u"
    data = saved.read_bytes() if saved.exists() else None
    checks.check(data == b"d.mp3\r\n", f"Save List writes the bare name with CR LF ({data!r})")


if __name__ == "__main__":
    sys.exit(scene("evening", ["lame", "import"], play))
