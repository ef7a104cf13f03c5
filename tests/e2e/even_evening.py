#!/usr/bin/python3
"""An even evening: a loud master and a quiet one, each with silence at its ends, played in
turn on one deck. Both come out at one loudness, and the deck moves on from the loud one's
last sound to the quiet one's first without the dead air between them.

Usage: even_evening.py VELMOR_BINARY ARTEFACT_DIR"""

import sys
import time
from pathlib import Path

import numpy as np

sys.path.insert(0, str(Path(__file__).parent))
from desktop import ADD_FOLDER, Desktop, scene  # noqa: E402
from sound import Recording, write_wav  # noqa: E402

LOUD, QUIET = 550.0, 440.0
SILENCE, SOUND = 2.0, 5.0  # seconds of silence at each end, of tone between


def write_track(path, frequency, amplitude, rate=44100):
    """A tone with SILENCE seconds of digital silence before and after it."""
    t = np.arange(int(SOUND * rate)) / rate
    quiet = np.zeros(int(SILENCE * rate))
    write_wav(path, np.concatenate([quiet, amplitude * np.sin(2 * np.pi * frequency * t), quiet]), rate)


def play(binary, root, artefacts, checks):
    music = root / "music"
    music.mkdir()
    write_track(music / "a_loud.wav", LOUD, 10 ** (-2 / 20))  # a master of today, at -2 dBFS
    write_track(music / "b_quiet.wav", QUIET, 10 ** (-24 / 20))  # one of 1978, 22 dB below
    with Desktop(root) as desk:
        desk.start(binary, music, root / "even.wav")
        desk.click(*ADD_FOLDER)  # both on Deck 1, the loud one loaded
        time.sleep(1.0)  # both looked at
        desk.key("w")
        time.sleep(SILENCE + 2 * SOUND + 2.5)
        desk.stop_recording()
    (artefacts / "even_evening.wav").write_bytes((root / "even.wav").read_bytes())
    rec = Recording(root / "even.wav")
    loud_rise = rec.first_rise(LOUD, 0, len(rec.samples) / rec.rate)
    quiet_rise = rec.first_rise(QUIET, 0, len(rec.samples) / rec.rate)
    heard = loud_rise is not None and quiet_rise is not None
    checks.check(heard, f"both tracks are heard (from {loud_rise:.2f} s and {quiet_rise:.2f} s)"
                 if heard else f"both tracks are heard (from {loud_rise} s and {quiet_rise} s)")
    if not heard:
        return
    loud = rec.level_db(LOUD, loud_rise + 1.0, loud_rise + SOUND - 1.0)
    quiet = rec.level_db(QUIET, quiet_rise + 1.0, quiet_rise + SOUND - 1.0)
    checks.check(abs(loud - quiet) <= 1.0,
                 f"22 dB apart in their files, heard {abs(loud - quiet):.2f} dB apart (<= 1)")
    loud_fall = next((t for t, up in rec.onsets(LOUD, loud_rise, quiet_rise + 0.5) if not up), None)
    gap = None if loud_fall is None else quiet_rise - loud_fall
    shown = "no end heard" if gap is None else f"{gap:.2f} s between them"
    checks.check(gap is not None and gap <= 0.5,
                 f"the deck moves on from the last sound to the first: {shown} (<= 0.5)")


if __name__ == "__main__":
    sys.exit(scene("even evening", [], play))
