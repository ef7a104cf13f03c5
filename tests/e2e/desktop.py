"""A desktop of our own for the real program: a virtual display, a sound server with a
null sink whose monitor is recorded, and real X input."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SINK = "velmor_e2e"


def twips_centre(left, top, width, height, frame_top=0):
    """The pixel at the centre of a control placed in twips (15 twips a pixel)."""
    return round((left + width / 2) / 15), round((frame_top + top + height / 2) / 15)


# The main window's controls, where a click reaches them (the window sits at 0,0).
OPT_PLA_LEFT = [7755, 8010, 8250, 8490]


def opt_pla(deck):
    return twips_centre(OPT_PLA_LEFT[deck], 4470, 240, 225)


ADD = twips_centre(8745, 4470, 630, 225)
ADD_FOLDER = twips_centre(9375, 4470, 885, 225)
SAVE_LIST = twips_centre(7740, 4725, 990, 225)
NAME_BOX = twips_centre(7725, 6795, 3135, 285)
SAVE = twips_centre(7740, 7140, 1725, 225)
FOLDER_LIST_BLANK = (round((7725 + 1700) / 15), round((5325 + 2000) / 15))
FILE_LIST_FIRST_ROW = (100, round(4455 / 15) + 10)
ULTRA_DECK_1 = twips_centre(6795, 405, 450, 225)


class Checks:
    def __init__(self):
        self.passed, self.failed = 0, 0

    def check(self, ok, what):
        print(("ok     " if ok else "FAILED ") + what, flush=True)
        self.passed += bool(ok)
        self.failed += not ok


def wait_for(check, what, timeout=20.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if check():
            return
        time.sleep(0.1)
    raise RuntimeError(f"gave up waiting for {what}")


class Desktop:
    def __init__(self, home: Path):
        self.home = home
        self.processes = []
        self.env = dict(os.environ)
        self.env.update(
            HOME=str(home),
            XDG_RUNTIME_DIR=str(home),
            # The audio set-up, the evening's session and the looks at tracks of this run
            # only, never the user's.
            XDG_CONFIG_HOME=str(home / ".config"),
            XDG_STATE_HOME=str(home / ".local/state"),
            XDG_CACHE_HOME=str(home / ".cache"),
            PULSE_SERVER=f"unix:{home}/pulse.sock",
            QT_QPA_PLATFORM="xcb",
            LC_ALL="C.UTF-8",
        )
        self.env.pop("WAYLAND_DISPLAY", None)
        self.recording_started = None

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.close()

    def _spawn(self, args, **kw):
        process = subprocess.Popen(args, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **kw)
        self.processes.append(process)
        return process

    def run(self, *args, check=True):
        return subprocess.run(args, env=self.env, check=check, capture_output=True, text=True)

    def start_display(self):
        """A virtual display: Xvfb takes the first free number, so that several runs (and the
        benchmarks) can have a display each at the same time."""
        read_end, write_end = os.pipe()
        # -noreset: by default the server resets when its last client leaves, and a program
        # started at that moment finds no display and ends.
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as told:
            number = told.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = f":{number}"
        wait_for(lambda: self.run("xdpyinfo", check=False).returncode == 0, "the display")

    def start_sound(self):
        (self.home / ".asoundrc").write_text("pcm.!default { type pulse }\nctl.!default { type pulse }\n")
        (self.home / "server.pa").write_text(
            f"load-module module-native-protocol-unix auth-anonymous=1 socket={self.home}/pulse.sock\n"
            f"load-module module-null-sink sink_name={SINK}\n"
            f"set-default-sink {SINK}\n")
        self.sound = self._spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                  "--use-pid-file=no", "--system=false", "-F",
                                  str(self.home / "server.pa")])
        wait_for(lambda: self.run("pactl", "info", check=False).returncode == 0, "the sound server")
        # An idle null sink starts its monitor late; waking it once first avoids that.
        self.run("pactl", "suspend-sink", SINK, "1")
        self.run("pactl", "suspend-sink", SINK, "0")

    def kill_sound(self):
        """The sound server dies as a crashed one does, taking its streams and the recorder
        with it; start_sound() starts a new one."""
        self.sound.kill()
        self.sound.wait(timeout=10)
        self.recorder.wait(timeout=10)

    def start_recording(self, path: Path):
        self.recorder = self._spawn(["parec", "--latency-msec=20", "-d", f"{SINK}.monitor",
                                     "--file-format=wav", "--rate=44100", "--channels=2", str(path)])
        time.sleep(0.3)
        self.recording_started = time.monotonic()

    def stop_recording(self):
        self.recorder.terminate()
        self.recorder.wait(timeout=10)

    def now(self):
        """Seconds since the recording started."""
        return time.monotonic() - self.recording_started

    def start_program(self, binary, cwd):
        # Its output goes to a file: a pipe that nobody reads would stall it once full.
        with open(self.home / "velmor.log", "wb") as log:
            self.program = subprocess.Popen([str(binary)], cwd=cwd, env=self.env,
                                            stdout=log, stderr=subprocess.STDOUT)
        self.processes.append(self.program)
        def shown():
            if self.program.poll() is not None:
                raise RuntimeError("the program ended before showing its window: "
                                   + (self.home / "velmor.log").read_text(errors="replace")[-400:])
            return self.run("xdotool", "search", "--onlyvisible", "--name", "^Velmor",
                            check=False).returncode == 0
        wait_for(shown, "the window")
        # Its sound reaches the server: from then on the recording runs on.
        wait_for(lambda: self.run("pactl", "list", "short", "sink-inputs", check=False).stdout.strip(),
                 "the program's stream")
        time.sleep(1.0)

    def start(self, binary, cwd, recording: Path):
        """The whole desktop: display, sound server, recorder, and the program in `cwd`."""
        self.start_display()
        self.start_sound()
        self.start_recording(recording)
        self.start_program(binary, cwd)

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", str(x), str(y), "click", str(button))
        time.sleep(0.25)

    def key(self, *names):
        self.run("xdotool", "key", "--delay", "60", *names)
        time.sleep(0.15)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "60", text)
        time.sleep(0.15)

    def visible_windows(self, name_pattern="."):
        """The names of the mapped windows whose name matches a pattern (a message box is a
        window of its own, the program's notice is not)."""
        found = self.run("xdotool", "search", "--onlyvisible", "--name", name_pattern, check=False)
        return [self.run("xdotool", "getwindowname", window, check=False).stdout.strip()
                for window in found.stdout.split()]

    def screenshot(self, path):
        self.run("import", "-window", "root", "-crop", "749x496+0+0", "+repage", str(path))

    def close(self):
        for process in reversed(self.processes):
            stop(process)


def stop(process):
    """Ends `process` if it still runs: asked first, killed after 5 s."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def require(*programs):
    missing = [p for p in programs if shutil.which(p) is None]
    if missing:
        raise SystemExit("e2e: missing " + ", ".join(missing))


def scene(title, programs, play):
    """Runs one scene as its script's main: `play(binary, root, artefacts, checks)` in a
    fresh folder `root`, with the program and the artefact folder named on the command line
    (SCRIPT VELMOR_BINARY ARTEFACT_DIR). Prints the verdict and returns the exit status."""
    binary, artefacts = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    artefacts.mkdir(parents=True, exist_ok=True)
    require("Xvfb", "xdpyinfo", "xdotool", "pulseaudio", "pactl", "parec", *programs)
    checks = Checks()
    with tempfile.TemporaryDirectory(prefix="velmor-e2e-") as tmp:
        play(binary, Path(tmp), artefacts, checks)
    print(f"e2e {title}: {checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0
