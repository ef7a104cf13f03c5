#!/usr/bin/python3
"""A broken entry in the middle of a list: a text file named .mp3 (what a failed download
leaves) between two tracks. The deck plays the first track, steps over the broken one and
plays the last, with no message box taking the keyboard: a key pressed meanwhile still acts.

Usage: broken_entry.py VELMOR_BINARY ARTEFACT_DIR"""

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from desktop import ADD_FOLDER, Desktop, scene  # noqa: E402
from sound import Recording, write_mp3_tone  # noqa: E402

A, C = 440.0, 660.0


def play(binary, root, artefacts, checks):
    music = root / "music"
    music.mkdir()
    write_mp3_tone(music / "a.mp3", A, 2.0)
    (music / "b.mp3").write_text("<html><body>404 Not Found</body></html>\n")
    write_mp3_tone(music / "c.mp3", C, 4.0)
    with Desktop(root) as desk:
        desk.start(binary, music, root / "broken.wav")
        desk.click(*ADD_FOLDER)  # a, b, c on Deck 1, a loaded
        played = desk.now()
        desk.key("w")  # play/pause of Deck 1
        time.sleep(3.2)  # a has ended, b was stepped over, c plays
        windows = desk.visible_windows("^Velmor")
        desk.key("r")  # mute of Deck 1, while the notice shows
        # Measured over the last 0.5 s of this wait: the key may take up to 0.9 s longer to be
        # heard than the Play key did (on a quiet machine it takes a tenth of that), and c.mp3
        # plays on until 6 s after Play.
        time.sleep(1.5)
        still = desk.now()
        desk.screenshot(artefacts / "broken_entry.png")
        desk.stop_recording()
    (artefacts / "broken_entry.wav").write_bytes((root / "broken.wav").read_bytes())
    rec = Recording(root / "broken.wav")
    shift = rec.clock_shift(A, played)
    heard = [rec.dominant([A, C], played + shift + s, played + shift + s + 0.6) for s in (0.7, 2.4)]
    checks.check(heard == [A, C], f"the first track, then the last: the broken one is stepped over ({heard})")
    checks.check(len(windows) == 1 and windows[0] != "Velmor", f"no message box (windows: {windows})")
    end = min(still, played + 5.8) + shift  # before c.mp3 ends by itself
    level = rec.level_db(C, end - 0.55, end - 0.05)
    checks.check(level < -80, f"a key still acts while the notice shows (Deck 1 at {level:.0f} dBFS)")


if __name__ == "__main__":
    sys.exit(scene("broken entry", ["lame"], play))
