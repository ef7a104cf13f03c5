#!/usr/bin/python3
"""A broken entry in the middle of a list: a text file named .mp3 (what a failed download
leaves) between two tracks. The deck plays the first track, steps over the broken one and
plays the last, with no message box taking the keyboard: a key pressed meanwhile still acts.

Usage: broken_entry.py VELMOR_BINARY ARTEFACT_DIR"""

import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from desktop import Desktop, require, twips_centre  # noqa: E402
from sound import Recording, write_mp3_tone  # noqa: E402

A, C = 440.0, 660.0
ADD_FOLDER = twips_centre(9375, 4470, 885, 225)


def main():
    binary, artefacts = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    artefacts.mkdir(parents=True, exist_ok=True)
    require("Xvfb", "xdpyinfo", "xdotool", "pulseaudio", "pactl", "parec", "lame")
    with tempfile.TemporaryDirectory(prefix="velmor-broken-") as tmp:
        root = Path(tmp)
        music = root / "music"
        music.mkdir()
        write_mp3_tone(music / "a.mp3", A, 2.0)
        (music / "b.mp3").write_text("<html><body>404 Not Found</body></html>\n")
        write_mp3_tone(music / "c.mp3", C, 4.0)
        desk = Desktop(root)
        try:
            desk.start_display()
            desk.start_sound()
            desk.start_recording(root / "broken.wav")
            desk.start_program(binary, cwd=music)
            desk.click(*ADD_FOLDER)  # a, b, c on Deck 1, a loaded
            play = desk.now()
            desk.key("w")  # play/pause of Deck 1
            time.sleep(3.2)  # a has ended, b was stepped over, c plays
            windows = desk.visible_windows("^Velmor")
            mute = desk.now()
            desk.key("r")  # mute of Deck 1, while the notice shows
            time.sleep(1.0)
            desk.screenshot(artefacts / "broken_entry.png")
            desk.stop_recording()
        finally:
            desk.close()
        (artefacts / "broken_entry.wav").write_bytes((root / "broken.wav").read_bytes())
        rec = Recording(root / "broken.wav")

    # The recording's clock starts with the first sound: Deck 1's Play.
    first = rec.first_sound(A, 0, play + 10)
    shift = 0.0 if first is None else first - play
    play, mute = play + shift, mute + shift
    print(f"recording clock: first sound {shift:+.2f} s from the Play key")
    heard = [rec.dominant([A, C], play + s, play + s + 0.6) for s in (0.7, 2.4)]
    results = [
        (heard == [A, C], f"the first track, then the last: the broken one is stepped over ({heard})"),
        (len(windows) == 1 and windows[0] != "Velmor", f"no message box (windows: {windows})"),
        (rec.level_db(C, mute + 0.3, mute + 0.9) < -80, "a key still acts while the notice shows"),
    ]
    for ok, what in results:
        print(("ok     " if ok else "FAILED ") + what, flush=True)
    failed = sum(not ok for ok, _ in results)
    print(f"e2e broken entry: {len(results) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
