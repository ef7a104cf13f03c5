#!/usr/bin/python3
"""The whole program's start-up, CPU and memory, each against a baseline measured in the same
run: the real velmor binary under a virtual display, its sound going to a PulseAudio null
sink, driven only by real X input.

Usage: app_bench.py BUILD_DIR [--runs N] [--seconds S] [--idle-seconds S] [--data DIR]
                    [--shots DIR] [--display | --features]

BUILD_DIR is a Release build with the benchmarks on. DATA caches the 10-minute track
(bench_audio makes it with lame on the first run). --display measures only the window's own
CPU with its meters and overviews drawing, against the same binary with them switched off.
--features measures four playing decks with the library window open and searching, a jingle
firing and the recorder on, against the same four decks without them."""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.parse
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
from desktop import Desktop, require, twips_centre  # noqa: E402
from evening import add_file  # noqa: E402

DECKS = 4
PLAY_KEYS = ["w", "s", "y", "h"]
TICKS = os.sysconf("SC_CLK_TCK")


def ultra_play(deck):
    return twips_centre(6795, 405, 450, 225, frame_top=990 * deck)


def cpu_seconds(pid, task=None):
    """User and system CPU of a process (or of one of its threads) so far."""
    path = f"/proc/{pid}/task/{task}/stat" if task else f"/proc/{pid}/stat"
    fields = Path(path).read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def thread_cpu(pid):
    """Each thread's name and CPU seconds so far, from the scheduler's own count: the clock
    ticks of /proc/PID/task/TID/stat miss a thread that wakes briefly, as a reader does."""
    threads = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        name = Path(f"/proc/{pid}/task/{task}/comm").read_text().strip()
        ran = Path(f"/proc/{pid}/task/{task}/schedstat").read_text().split()[0]
        threads[f"{name} ({task})"] = int(ran) / 1e9
    return threads


def status_kb(pid, key):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith(key + ":"):
            return int(line.split()[1])
    raise RuntimeError(f"no {key} for {pid}")


def start_fresh(desk, build, music):
    """Starts Velmor with no evening behind it: the runs before were ended from outside, and
    the last evening's question would take the keys meant for the decks."""
    shutil.rmtree(desk.home / ".local" / "state", ignore_errors=True)
    desk.start_program(build / "src" / "velmor", cwd=music)


def startup(desk, shown, binary, prefix, cwd):
    result = subprocess.run([str(shown), prefix, str(binary)], env=desk.env, cwd=cwd,
                            capture_output=True, text=True, timeout=90)
    if result.returncode != 0:
        raise RuntimeError(f"{binary.name}: {result.stderr.strip()}")
    return float(result.stdout)


def measure_startup(desk, build, music, runs):
    """Medians of spawn-to-window for Velmor and the minimal window, taken in turns; the
    first of each is a warm-up (libraries into the page cache) and not counted."""
    shown = build / "bench" / "app" / "bench_window_shown"
    programs = {"velmor": (build / "src" / "velmor", "Velmor 1"),
                "minimal": (build / "bench" / "app" / "bench_minimal_window", "Velmor minimal")}
    times = {name: [] for name in programs}
    for run in range(runs + 1):
        for name, (binary, prefix) in programs.items():
            ms = startup(desk, shown, binary, prefix, music)
            if run > 0:
                times[name].append(ms)
            time.sleep(0.3)
    return {name: statistics.median(values) for name, values in times.items()}, times


def output_rate(desk):
    """The rate of the stream the program opened on the sound server."""
    listing = desk.run("pactl", "list", "sink-inputs").stdout
    rates = re.findall(r"^\s*Sample \w+: \S+ \d+ch (\d+)Hz$", listing, re.MULTILINE)
    if len(rates) != 1:
        raise RuntimeError(f"expected one stream on the sound server, found {len(rates)}")
    return int(rates[0])


def play_four_decks(desk):
    """One track a deck (the folder's rows in order), each at 200 %, all started by keys."""
    load_four_decks(desk)
    for key in PLAY_KEYS:
        desk.key(key)


def load_four_decks(desk):
    for d in range(DECKS):
        add_file(desk, d, d)
        desk.click(*ultra_play(d))


def measure_idle(desk, build, music, seconds):
    """The whole process's CPU with a track on every deck, their overviews worked out, and
    nothing playing."""
    start_fresh(desk, build, music)
    pid = desk.program.pid
    load_four_decks(desk)
    time.sleep(8.0)  # the four looks at the tracks are done, the meters have fallen
    before = cpu_seconds(pid)
    threads_before = thread_cpu(pid)
    time.sleep(seconds)
    cpu = cpu_seconds(pid) - before
    threads = {name: used - threads_before.get(name, 0.0)
               for name, used in thread_cpu(pid).items()}
    if desk.program.poll() is not None:
        raise RuntimeError("velmor ended during the run")
    desk.program.terminate()
    desk.program.wait(timeout=10)
    time.sleep(1.0)
    return cpu, threads


def measure_features(desk, build, music, seconds, on):
    """The whole process's CPU with four decks playing; `on`: with the library window open and
    a search typed into it every 2 s, jingle F1 (3 s) fired every 4 s, and the recorder on."""
    config = desk.home / ".config" / "velmor"
    config.mkdir(parents=True, exist_ok=True)
    (config / "library.conf").write_text(f"# music folders\n{music}\n")
    jingle = desk.home / "jingle.wav"
    if not jingle.exists():
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", str(jingle), "synth", "3",
                        "sine", "880", "vol", "0.3"], check=True)
    (config / "jingles.conf").write_text(f"# slots\nF1 {urllib.parse.quote(str(jingle))}\n")
    start_fresh(desk, build, music)
    pid = desk.program.pid
    play_four_decks(desk)
    time.sleep(2.0)
    if on:
        desk.key("ctrl+r")
        desk.key("l")
        time.sleep(1.0)
    before = cpu_seconds(pid)
    end = time.monotonic() + seconds
    for tick in range(10**6):
        if time.monotonic() >= end:
            break
        if on and tick % 2 == 0:
            desk.key("F1")
        if on:
            desk.run("xdotool", "type", "--delay", "80", "deck")
            desk.key("BackSpace", "BackSpace", "BackSpace", "BackSpace")
        time.sleep(max(0.0, min(2.0, end - time.monotonic())))
    cpu = cpu_seconds(pid) - before
    if desk.program.poll() is not None:
        raise RuntimeError("velmor ended during the run")
    desk.program.terminate()
    desk.program.wait(timeout=10)
    time.sleep(1.0)
    return cpu


def features_cost(desk, build, music, seconds, runs):
    """With and without the features in turns; the medians."""
    taken = {True: [], False: []}
    for _ in range(runs):
        for on in (False, True):
            taken[on].append(measure_features(desk, build, music, seconds, on))
    return {on: statistics.median(values) for on, values in taken.items()}, taken


def bare_stream_cpu(desk, build, rate, seconds):
    """A PortAudio stream on the same server playing silence in 256-frame buffers."""
    result = subprocess.run([str(build / "bench" / "app" / "bench_bare_stream"), str(rate),
                             str(seconds)], env=desk.env, check=True, capture_output=True,
                            text=True, timeout=seconds + 30)
    return float(result.stdout)


def floor_cpu(build, tracks, rate, seconds, runs=3):
    """The libraries alone doing the decks' work: decode, stretch to 200 %, resample, sum."""
    values = []
    for _ in range(runs):
        result = subprocess.run([str(build / "bench" / "app" / "bench_library_floor"), str(rate),
                                 "2.0", str(seconds), *map(str, tracks)],
                                check=True, capture_output=True, text=True)
        values.append(float(result.stdout))
    return statistics.median(values)


def measure_program(desk, build, music, seconds, shots):
    start_fresh(desk, build, music)
    pid = desk.program.pid
    play_four_decks(desk)
    time.sleep(2.0)  # the decks' rings fill; the measure is of steady playing
    rate = output_rate(desk)
    threads_before, cpu_before = thread_cpu(pid), cpu_seconds(pid)
    time.sleep(seconds)
    cpu = cpu_seconds(pid) - cpu_before
    threads = {name: used - threads_before.get(name, 0.0)
               for name, used in thread_cpu(pid).items()}
    peak = status_kb(pid, "VmHWM")
    if shots:
        desk.screenshot(shots / "four-decks.png")
    if desk.program.poll() is not None:
        raise RuntimeError("velmor ended during the run")
    desk.program.terminate()
    desk.program.wait(timeout=10)
    return rate, cpu, threads, peak


def measure_window(desk, build, music, seconds, plain):
    """The window thread's CPU (and the X server's, which puts what it draws on the screen)
    with four decks playing; `plain`: with the meters and overviews switched off."""
    env = dict(desk.env)
    if plain:
        desk.env["VELMOR_BENCH_PLAIN_WINDOW"] = "1"
    try:
        start_fresh(desk, build, music)
    finally:
        desk.env = env
    pid, server = desk.program.pid, desk.processes[0].pid
    play_four_decks(desk)
    time.sleep(8.0)  # the rings fill and the four overviews are worked out
    window, drawing = cpu_seconds(pid, pid), cpu_seconds(server)
    time.sleep(seconds)
    window, drawing = cpu_seconds(pid, pid) - window, cpu_seconds(server) - drawing
    if desk.program.poll() is not None:
        raise RuntimeError("velmor ended during the run")
    desk.program.terminate()
    desk.program.wait(timeout=10)
    time.sleep(1.0)
    return window, drawing


def display_cost(desk, build, music, seconds, runs):
    """Plain and live windows in turns; the medians."""
    taken = {True: [], False: []}
    for _ in range(runs):
        for plain in (True, False):
            taken[plain].append(measure_window(desk, build, music, seconds, plain))
    return {plain: tuple(statistics.median(v[i] for v in values) for i in (0, 1))
            for plain, values in taken.items()}


def print_display(cost, seconds, runs):
    (live, live_x), (plain, plain_x) = cost[False], cost[True]
    share = 100 * (live + live_x) / seconds
    print(f"\nWindow thread and X server over {seconds} s, median of {runs}: live "
          f"{live:.2f} + {live_x:.2f} s, plain {plain:.2f} + {plain_x:.2f} s")
    print("\n| Measure | Velmor | Baseline | Ratio (target) |\n|---|---|---|---|")
    print(f"| Window's CPU, 4 decks at 200 %, meters and overviews drawing | "
          f"{100 * live / seconds:.2f} % of a core ({share:.2f} % with the X server) | "
          f"meters and overviews off: {100 * plain / seconds:.2f} % | "
          f"{live / plain:.2f} (<= 4; <= 3 % of a core) |")


def baseline_cpu(build, tracks, rate, seconds, runs=3):
    """The engine's offline render of the same work: four decks, these files, rate 2.0."""
    values = []
    for _ in range(runs):
        result = subprocess.run([str(build / "bench" / "bench_audio"), "--render-cpu", str(rate),
                                 "2.0", str(seconds), *map(str, tracks)],
                                check=True, capture_output=True, text=True)
        values.append(float(result.stdout))
    return statistics.median(values)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build", type=Path)
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--seconds", type=int, default=20)
    parser.add_argument("--idle-seconds", type=int, default=10)
    parser.add_argument("--data", type=Path, default=Path("bench-data"))
    parser.add_argument("--shots", type=Path)
    parser.add_argument("--display", action="store_true")
    parser.add_argument("--features", action="store_true")
    args = parser.parse_args()
    build = args.build.resolve()
    require("Xvfb", "xdpyinfo", "xdotool", "pulseaudio", "pactl", "lame")
    if args.shots:
        args.shots.mkdir(parents=True, exist_ok=True)

    print("Preparing the 10-minute track (cached)...", flush=True)
    track = Path(subprocess.run([str(build / "bench" / "bench_audio"), "--track", str(args.data)],
                                check=True, capture_output=True, text=True).stdout.strip())
    with tempfile.TemporaryDirectory(prefix="velmor-bench-") as tmp:
        root = Path(tmp)
        music = root / "music"
        music.mkdir()
        tracks = [music / f"deck{d + 1}.mp3" for d in range(DECKS)]
        for copy in tracks:
            shutil.copy(track, copy)
        desk = Desktop(root)
        try:
            desk.start_display()
            desk.start_sound()
            if args.features:
                print(f"Four decks, with and without the library, a jingle and the recorder, "
                      f"{args.runs} runs...", flush=True)
                medians, taken = features_cost(desk, build, music, args.seconds, args.runs)
                print(f"\nRuns (s): with {taken[True]}, without {taken[False]}")
                print("\n| Measure | Velmor | Baseline | Ratio (target) |\n|---|---|---|---|")
                print(f"| CPU, 4 decks at 200 % for {args.seconds} s, the library window searching, "
                      f"a jingle and the recorder on | {medians[True]:.2f} s | without them: "
                      f"{medians[False]:.2f} s | {medians[True] / medians[False]:.2f} (<= 1.2) |")
                return
            if args.display:
                print(f"The window, live and plain, {args.runs} runs...", flush=True)
                print_display(display_cost(desk, build, music, args.seconds, args.runs),
                              args.seconds, args.runs)
                return
            print("Start-up...", flush=True)
            medians, times = measure_startup(desk, build, music, args.runs)
            print(f"Four decks at 200 % for {args.seconds} s...", flush=True)
            rate, cpu, threads, peak = measure_program(desk, build, music, args.seconds,
                                                       args.shots)
            print(f"Idle with four tracks loaded for {args.idle_seconds} s...", flush=True)
            idle, idle_threads = measure_idle(desk, build, music, args.idle_seconds)
            print("A bare stream playing silence...", flush=True)
            bare = bare_stream_cpu(desk, build, rate, args.seconds)
            bare_idle = bare_stream_cpu(desk, build, rate, args.idle_seconds)
        finally:
            desk.close()
        print("The engine's offline render and the libraries' floor of the same work...",
              flush=True)
        base = baseline_cpu(build, tracks, rate, args.seconds)
        floor = floor_cpu(build, tracks, rate, args.seconds)

    print(f"\nStart-up runs (ms): velmor {times['velmor']}, minimal {times['minimal']}")
    for title, used in (("playing", threads), ("idle", idle_threads)):
        print(f"Output rate {rate} Hz; CPU by thread {title} (s): "
              + ", ".join(f"{n} {c:.3f}" for n, c in sorted(used.items(), key=lambda t: -t[1])
                          if c > 0))
    print("\n| Measure | Velmor | Baseline | Ratio (target) |\n|---|---|---|---|")
    print(f"| CPU, 4 decks at 200 % for {args.seconds} s | {cpu:.2f} s | "
          f"library floor {floor:.2f} s + bare stream {bare:.2f} s | "
          f"{cpu / (floor + bare):.2f} (<= 1.3) |")
    print(f"| Idle, four tracks loaded, for {args.idle_seconds} s | {idle:.3f} s "
          f"({100 * idle / args.idle_seconds:.1f} % of a core) | bare stream {bare_idle:.3f} s "
          f"({100 * bare_idle / args.idle_seconds:.1f} %) | {idle / bare_idle:.2f} (<= 1.2) |")
    print(f"| Start-up to the window shown, median of {args.runs} | {medians['velmor']:.0f} ms | "
          f"minimal Qt Widgets window: {medians['minimal']:.0f} ms | "
          f"{medians['velmor'] / medians['minimal']:.2f} (<= 1.3) |")
    print(f"| Peak memory (VmHWM), 4 decks of 10-minute tracks | {peak / 1024:.1f} MB | "
          f"goal: 45 MB | {peak / 1024 / 45:.2f} (<= 1) |")
    print(f"| (for the record) CPU against the engine's offline render | {cpu:.2f} s | "
          f"{base:.2f} s | {cpu / base:.2f} |")


if __name__ == "__main__":
    main()
