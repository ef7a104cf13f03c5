#!/usr/bin/python3
"""Dropouts at the sound server: Velmor's engine against a plain paplay stream.

    /usr/bin/python3 bench/dropouts.py BUILD_DIR [--seconds 25] [--frames 256] [--runs 1]

Starts a PulseAudio server of its own with a null sink (the end-to-end tests' desktop,
without a display), and records its monitor while
(a) bench_dropouts (BUILD_DIR/bench/bench_dropouts) plays: a long track throughout, a track
change and a damaged file opened every 3 s, each new file's overview worked out meanwhile;
(b) paplay plays a steady tone at the latency Velmor's stream reported. Each at light load
and under two busy loops (bounded by `timeout`). A gap is a run of near-silence (below
-60 dBFS) of 3 ms or more between the first and the last sound. Prints the gaps of each and
the ratio Velmor/paplay; the targets are a ratio of at most 1.0 under load and no gap at
light load. Everything it starts is stopped at the end, and the whole run is bounded in time.
Packages: pulseaudio, pulseaudio-utils, libasound2-plugins, sox, lame.
"""

import argparse
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import wave
from array import array
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from desktop import Desktop, stop  # noqa: E402

RATE = 44100  # the null sink's and the recording's
SILENCE = 33  # -60 dBFS in 16-bit samples
GAP_FRAMES = RATE * 3 // 1000
CHANGE_SECONDS = 3


def spawn(desk, args, **kw):
    """A process against the desktop's sound server, stopped with it."""
    process = subprocess.Popen(args, env=desk.env, stdin=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, **kw)
    desk.processes.append(process)
    return process


def busy_loops(desk, count, seconds):
    """CPU hogs at normal priority that end by themselves."""
    return [spawn(desk, ["timeout", str(int(seconds) + 1), "sh", "-c", "while :; do :; done"],
                  stdout=subprocess.DEVNULL) for _ in range(count)]


def make_inputs(folder, seconds):
    """Steady tones: a long one, short tracks, and a damaged file (random bytes from 1.2 s
    to 36 s in, which the deck meets soon after each start)."""

    def tone(name, frequency, length, mp3=True):
        wav = folder / (name + ".wav")
        subprocess.run(["sox", "-n", "-r", str(RATE), "-c", "2", "-b", "16", str(wav), "synth",
                        str(length), "sine", str(frequency), "vol", "0.25"], check=True)
        if not mp3:
            return wav
        out = folder / (name + ".mp3")
        subprocess.run(["lame", "--quiet", "-b", "192", str(wav), str(out)], check=True)
        wav.unlink()
        return out

    long_track = tone("long", 220, seconds + 10)
    tracks = [tone(f"track{i}", f, CHANGE_SECONDS + 2) for i, f in enumerate((330, 392, 440, 494))]
    damaged = tone("damaged", 587, 60)
    data = bytearray(damaged.read_bytes())
    start, end = len(data) * 2 // 100, len(data) * 60 // 100
    data[start:end] = random.Random(1).randbytes(end - start)
    damaged.write_bytes(bytes(data))
    steady = tone("steady", 220, seconds, mp3=False)
    return long_track, damaged, tracks, steady


def gaps(path):
    """The runs of near-silence of GAP_FRAMES or more between the first and the last sound,
    as (start seconds, milliseconds)."""
    with wave.open(str(path), "rb") as recording:
        channels = recording.getnchannels()
        samples = array("h", recording.readframes(recording.getnframes()))
    left, right = samples[0::channels], samples[1::channels]
    loud = [i for i in range(len(left)) if abs(left[i]) > SILENCE or abs(right[i]) > SILENCE]
    found = []
    for before, after in zip(loud, loud[1:]):
        if after - before - 1 >= GAP_FRAMES:
            found.append(((before + 1) / RATE, (after - before - 1) * 1000 / RATE))
    return found


def recorded(desk, args, seconds, recording, hogs):
    """Runs a player (its output read) while the sink is recorded under `hogs` busy loops;
    returns the gaps and what the player printed."""
    desk.start_recording(recording)
    loops = busy_loops(desk, hogs, seconds + 1)
    player = spawn(desk, args, stdout=subprocess.PIPE, text=True)
    try:
        out, _ = player.communicate(timeout=seconds + 30)
    except subprocess.TimeoutExpired:
        stop(player)
        raise RuntimeError(f"{args[0]} did not end")
    time.sleep(0.3)
    desk.stop_recording()
    for loop in loops:
        stop(loop)
    if player.returncode != 0:
        raise RuntimeError(f"{args[0]} ended with status {player.returncode}")
    return gaps(recording), out


def velmor(desk, driver, inputs, seconds, frames, folder, hogs):
    long_track, damaged, tracks, _ = inputs
    found, out = recorded(desk, [str(driver), str(seconds), str(CHANGE_SECONDS), str(frames),
                                 str(long_track), str(damaged), *map(str, tracks)],
                          seconds, folder / "velmor.wav", hogs)
    told = dict(line.split(" ", 1) for line in out.splitlines() if " " in line)
    print(f"  (Velmor's audio threads: {told.get('threads', '?')})", flush=True)
    return found, float(told.get("latency_ms", "0")), int(told.get("underruns", "0"))


def paplay(desk, inputs, seconds, latency_ms, folder, hogs):
    return recorded(desk, ["paplay", f"--latency-msec={max(1, round(latency_ms))}",
                           str(inputs[3])], seconds, folder / "paplay.wav", hogs)[0]


def on_alarm(*_):
    raise TimeoutError("dropouts: the run took too long")


def describe(found):
    if not found:
        return "0 gaps"
    longest = max(ms for _, ms in found)
    return f"{len(found)} gaps, longest {longest:.0f} ms, in all {sum(ms for _, ms in found):.0f} ms"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", type=Path)
    parser.add_argument("--seconds", type=int, default=25)
    parser.add_argument("--frames", type=int, default=256)
    parser.add_argument("--runs", type=int, default=1)
    args = parser.parse_args()
    driver = (args.build / "bench" / "bench_dropouts").resolve()
    for program in ("pulseaudio", "pactl", "parec", "paplay", "sox", "lame", "timeout"):
        if shutil.which(program) is None:
            raise SystemExit(f"dropouts: {program} is missing")
    if not driver.exists():
        raise SystemExit(f"dropouts: {driver} is missing (build the target bench_dropouts)")
    # The whole run ends within this, whatever hangs, its servers stopped on the way out.
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(args.runs * 4 * (args.seconds + 40) + 120)

    with tempfile.TemporaryDirectory(prefix="velmor-dropouts-") as tmp:
        folder = Path(tmp)
        desk = Desktop(folder)
        try:
            inputs = make_inputs(folder, args.seconds)
            desk.start_sound()
            results = {}
            for load, hogs in (("light load", 0), ("two busy loops", 2)):
                ours, theirs, underruns = [], [], 0
                for _ in range(args.runs):
                    found, latency, missed = velmor(desk, driver, inputs, args.seconds,
                                                    args.frames, folder, hogs)
                    ours += found
                    underruns += missed
                    theirs += paplay(desk, inputs, args.seconds, latency, folder, hogs)
                results[load] = (ours, theirs)
                print(f"{load}, {args.runs} x {args.seconds} s, {args.frames} frames "
                      f"(stream latency {latency:.1f} ms):")
                print(f"  Velmor: {describe(ours)}; {underruns} underruns (a deck's ring or the "
                      "device's buffer ran dry)")
                for start, ms in ours:
                    print(f"    at {start:6.2f} s: {ms:.0f} ms")
                print(f"  paplay: {describe(theirs)}")
                ratio = len(ours) / len(theirs) if theirs else (0.0 if not ours else float("inf"))
                print(f"  ratio Velmor/paplay: {ratio:.2f}", flush=True)
        finally:
            desk.close()
    busy_ours, busy_theirs = results["two busy loops"]
    light_ours, _ = results["light load"]
    met = len(busy_ours) <= len(busy_theirs) and not light_ours
    print("targets " + ("met" if met else "missed") +
          ": under load no more gaps than paplay, at light load none")
    return 0


if __name__ == "__main__":
    sys.exit(main())
