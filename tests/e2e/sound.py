"""Reading and measuring what the program played: tones by frequency, over time."""

import subprocess
import wave

import numpy as np


def write_tone(path, frequency, seconds, amplitude=0.3, step=0, rate=44100):
    """A stereo tone as a 16-bit WAV file; with a `step` it rises by that many Hz every
    second, so that what is heard tells where in the track it is."""
    t = np.arange(int(seconds * rate)) / rate
    phase = 2 * np.pi * np.cumsum(frequency + step * np.floor(t)) / rate
    write_wav(path, amplitude * np.sin(phase), rate)


def write_wav(path, mono, rate):
    """Mono samples in -1..1 as a 16-bit stereo WAV file."""
    samples = (np.asarray(mono) * 32767).astype(np.int16)
    with wave.open(str(path), "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(np.repeat(samples, 2).tobytes())


def write_mp3_tone(path, frequency, seconds):
    """A steady tone as an MP3 file, encoded by lame from a WAV beside it."""
    wav = path.with_suffix(".tone.wav")
    write_tone(wav, frequency, seconds)
    subprocess.run(["lame", "--quiet", "-b", "192", str(wav), str(path)], check=True)
    wav.unlink()


class Recording:
    """Levels of given tones in short windows of a recording (its left channel, in -1..1)."""

    def __init__(self, path, window=0.05):
        with wave.open(str(path), "rb") as recording:
            self.rate, channels = recording.getframerate(), recording.getnchannels()
            frames = recording.readframes(recording.getnframes())
        self.samples = np.frombuffer(frames, dtype=np.int16)[::channels] / 32768.0
        self.window = window

    def level_db(self, frequency, start, end):
        """The amplitude of `frequency` between two times (seconds), in dB full scale."""
        a = max(0, int(start * self.rate))
        b = min(len(self.samples), int(end * self.rate))
        if b - a < 64:
            return -200.0
        chunk = self.samples[a:b] * np.hanning(b - a)
        t = np.arange(b - a) / self.rate
        # One bin of a Fourier transform at exactly this frequency, scaled to the amplitude.
        amplitude = 2 * abs(np.sum(chunk * np.exp(-2j * np.pi * frequency * t))) / np.sum(np.hanning(b - a))
        return 20 * np.log10(max(amplitude, 1e-10))

    def series(self, frequency, start, end):
        """(time, dB) of `frequency` in consecutive windows between two times."""
        times = np.arange(start, end - self.window, self.window)
        return [(t, self.level_db(frequency, t, t + self.window)) for t in times]

    def dominant(self, frequencies, start, end, floor_db=-50):
        """Which of `frequencies` is loudest between two times, or None for silence."""
        levels = {f: self.level_db(f, start, end) for f in frequencies}
        best = max(levels, key=levels.get)
        return best if levels[best] > floor_db else None

    def peak_db(self, start=0, end=None):
        """The largest sample between two times, in dB full scale."""
        chunk = self.samples[int(start * self.rate):None if end is None else int(end * self.rate)]
        return 20 * np.log10(max(np.max(np.abs(chunk)) if len(chunk) else 0, 1e-10))

    def distortion_below_db(self, tones, spacing, start, end, highest=4000):
        """How far below the quieter of `tones` the loudest other multiple of `spacing` Hz is:
        the intermodulation and harmonics of a mix of tones."""
        quietest = min(self.level_db(f, start, end) for f in tones)
        others = [self.level_db(f, start, end) for f in np.arange(spacing, highest, spacing)
                  if min(abs(f - t) for t in tones) > 1]
        return quietest - max(others)

    def loudest_frequency(self, start, end, low=0, high=None):
        """The frequency of the strongest component between two times (and two frequencies),
        None in silence."""
        a, b = int(start * self.rate), int(end * self.rate)
        spectrum = np.abs(np.fft.rfft(self.samples[a:b] * np.hanning(b - a), 8 * (b - a)))
        frequencies = np.fft.rfftfreq(8 * (b - a), 1 / self.rate)
        spectrum[(frequencies < low) | (frequencies > (high or self.rate))] = 0
        if spectrum.max() * 2 / np.sum(np.hanning(b - a)) < 10 ** (-50 / 20):
            return None
        return frequencies[np.argmax(spectrum)]

    def clock_shift(self, frequency, mark, within=10.0):
        """How far the recording's clock is from the program's. The recording starts when the
        sound server first has something to play, so the first sound of `frequency`, played
        at `mark`, sets it (no shift when it is not heard; it may be at 0)."""
        first = next((t for t, db in self.series(frequency, 0, mark + within) if db > -30), None)
        shift = 0.0 if first is None else first - mark
        print(f"recording clock: first sound {shift:+.2f} s from the Play key")
        return shift

    def span(self, frequency, start, end):
        """How long `frequency` sounds between two times: from its first rise to its last fall
        (0 when it does not both rise and fall there). A dropout of the sound server in the
        middle does not shorten it."""
        changes = self.onsets(frequency, start, end)
        rises = [t for t, up in changes if up]
        falls = [t for t, up in changes if not up]
        return falls[-1] - rises[0] if rises and falls and falls[-1] > rises[0] else 0.0

    def first_rise(self, frequency, start, end):
        """When `frequency` first rises above the onset level between two times, or None."""
        return next((t for t, up in self.onsets(frequency, start, end) if up), None)

    def onsets(self, frequency, start, end, threshold_db=-30):
        """The times (window starts) where `frequency` rises above or falls below a level."""
        changes, above = [], None
        for t, db in self.series(frequency, start, end):
            now = db > threshold_db
            if above is not None and now != above:
                changes.append((t, now))
            above = now
        return changes
