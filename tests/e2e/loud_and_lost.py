#!/usr/bin/python3
"""Two loud decks together, and a sound server that dies mid-track: the real program under a
virtual display, driven by real clicks and keys, its sound recorded from a null sink.

Usage: loud_and_lost.py VELMOR_BINARY ARTEFACT_DIR"""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from desktop import Desktop, scene, wait_for  # noqa: E402
from evening import add_file  # noqa: E402
from sound import Recording, write_tone  # noqa: E402

LOUD = 10 ** (-1 / 20)  # today's masters peak at -1 dBFS
A, B = 440.0, 550.0
FIRST_STEP, STEP = 400.0, 20.0  # the stepped track: second k sounds at 400 + 20 k Hz


def play(binary, root, artefacts, checks):
    music = root / "music"
    music.mkdir()
    write_tone(music / "a.wav", A, 6.0, LOUD)
    write_tone(music / "b.wav", B, 6.0, LOUD)
    write_tone(music / "steps.wav", FIRST_STEP, 40.0, 0.25, STEP)
    marks = {}
    with Desktop(root) as desk:
        desk.start(binary, music, root / "loud.wav")
        for deck in range(3):  # a.wav, b.wav, steps.wav
            add_file(desk, deck, deck)

        # Both loud decks at once, the crossfader where it starts (both at full level).
        desk.key("5")
        time.sleep(3.0)
        desk.key("e", "d")

        # The stepped track plays; the server dies under it and a new one starts.
        desk.key("y")
        played = time.monotonic()
        time.sleep(3.0)
        desk.stop_recording()
        desk.kill_sound()
        time.sleep(2.0)
        desk.start_sound()
        restarted = time.monotonic()
        desk.start_recording(root / "back.wav")
        # The program's stream on the new server: when the engine has its card again.
        back = wait_for_stream(desk, timeout=8.0)
        marks["back"] = None if back is None else back - restarted
        marks["position"] = None if back is None else back - played
        time.sleep(3.0)
        desk.stop_recording()
    for name in ["loud.wav", "back.wav"]:
        (artefacts / name).write_bytes((root / name).read_bytes())
    measure_loud(Recording(root / "loud.wav"), checks)
    measure_back(Recording(root / "back.wav"), marks, checks)


def measure_loud(rec, checks):
    starts = [t for t, up in rec.onsets(A, 0, len(rec.samples) / rec.rate) if up]
    checks.check(bool(starts), "the two loud decks are heard")
    if not starts:
        return
    peak = rec.peak_db()
    checks.check(peak <= -0.3, f"two -1 dBFS decks together peak at {peak:.2f} dBFS (<= -0.3)")
    t = starts[0] + 1.0
    below = rec.distortion_below_db([A, B], B - A, t, t + 1.0)
    checks.check(below >= 40, f"their distortion is {below:.1f} dB below the tones (>= 40)")


def wait_for_stream(desk, timeout):
    """The moment a program plays into the sound server, None if none does in time."""
    try:
        wait_for(lambda: desk.run("pactl", "list", "short", "sink-inputs",
                                  check=False).stdout.strip(), "a stream", timeout)
        return time.monotonic()
    except RuntimeError:
        return None


def measure_back(rec, marks, checks):
    # The program looks for its device again every second, and opening one through ALSA's
    # pulse plug-in takes a fraction of that (0.3 s in all, with pactl's polling, on a busy
    # machine): 3 s leaves room for two tries that came too early.
    checks.check(marks["back"] is not None and marks["back"] < 3.0,
                 f"the program plays into the new server {marks['back']} s after it started (< 3)")
    # The first stretch of the stepped track heard on the new server tells where it is.
    found = (rec.loudest_frequency(x / 20, x / 20 + 0.2) for x in range(120))
    first = next((f for f in found if f is not None), None)
    heard = None if first is None else round((first - FIRST_STEP) / STEP)
    checks.check(heard is not None, "the track is heard again")
    if heard is None or marks["position"] is None:
        return
    # The deck played on over the silence: it is heard where it has got to since Play. The
    # track says its second only (half a second either way), and the stream is seen by
    # polling pactl every 0.1 s, which may wait for a core: 1.5 s holds both, while a deck
    # that stood still over the 2 s without a server would be heard about 2 s early.
    checks.check(abs(heard + 0.5 - marks["position"]) < 1.5,
                 f"it comes back in second {heard} of the track, "
                 f"{marks['position']:.1f} s after Play")


if __name__ == "__main__":
    sys.exit(scene("loud and lost", [], play))
