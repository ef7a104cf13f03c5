#!/usr/bin/python3
"""A list from another player: started from a folder of its own (as from a desktop menu),
the program plays a list written on Linux (LF line ends) whose entries lie below the list's
folder, one with each separator, one of them FLAC.

Usage: lists_from_anywhere.py VELMOR_BINARY ARTEFACT_DIR"""

import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from desktop import ADD, FILE_LIST_FIRST_ROW, FOLDER_LIST_BLANK, Desktop, scene  # noqa: E402
from sound import Recording, write_mp3_tone, write_tone  # noqa: E402

B, C = 550.0, 660.0


def make_music(root: Path):
    """music/set/list.m3u names set/sub/b.mp3 and set/sub/c.flac; music/elsewhere is empty.
    (The desktop's own folders lie in root, beside music.)"""
    music = root / "music"
    sub = music / "set" / "sub"
    sub.mkdir(parents=True)
    (music / "elsewhere").mkdir()
    write_mp3_tone(sub / "b.mp3", B, 2.0)
    write_tone(root / "c.wav", C, 2.0)
    subprocess.run(["sox", str(root / "c.wav"), str(sub / "c.flac")], check=True)
    (music / "set" / "list.m3u").write_bytes(
        b"#EXTM3U\n#EXTINF:2,Someone - B\nsub/b.mp3\n#EXTINF:2,Someone - C\nsub\\c.flac\n")
    return music


def play(binary, root, artefacts, checks):
    music = make_music(root)
    with Desktop(root) as desk:
        desk.start(binary, music / "elsewhere", root / "lists.wav")
        # The folder list: up to the parent, then down past "elsewhere" into "set".
        desk.click(*FOLDER_LIST_BLANK)
        desk.key("Up", "Return")
        time.sleep(0.3)
        desk.key("Down", "Down", "Return")
        time.sleep(0.3)
        desk.click(*FILE_LIST_FIRST_ROW)  # list.m3u, the folder's only file
        desk.click(*ADD)
        time.sleep(0.3)
        played = desk.now()
        desk.key("w")  # Deck 1 plays b, then c by itself
        time.sleep(5.0)
        desk.screenshot(artefacts / "lists_from_anywhere.png")
        desk.stop_recording()
    rec = Recording(root / "lists.wav")
    p = played + rec.clock_shift(B, played, within=5.0)
    order = [rec.dominant([B, C], p + s, p + s + 0.8) for s in (0.5, 2.5)]
    checks.check(order == [B, C], f"the list's relative entries play in order (heard {order})")
    # Paced by the sound server's clock, not by a key: 0.4 s is eight of the 50 ms windows
    # that find the rise, for the shifted clock's window and the MP3's own padding.
    c_start = rec.first_rise(C, p, p + 4.5)
    checks.check(c_start is not None and abs(c_start - p - 2.0) < 0.4,
                 f"c.flac follows b.mp3 after 2 s (at {None if c_start is None else round(c_start - p, 2)})")


if __name__ == "__main__":
    sys.exit(scene("lists", ["lame", "sox", "import"], play))
