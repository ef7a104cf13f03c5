"""Reading and measuring what the program played: tones by frequency, over time."""

import wave

import numpy as np


def write_tone(path, frequency, seconds, amplitude=0.3, rate=44100):
    """A steady stereo tone as a 16-bit WAV file."""
    t = np.arange(int(seconds * rate)) / rate
    samples = (amplitude * np.sin(2 * np.pi * frequency * t) * 32767).astype(np.int16)
    with wave.open(str(path), "wb") as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(np.repeat(samples, 2).tobytes())


def read_mono(path):
    """The recording as floats in -1..1 (left channel) and its rate."""
    with wave.open(str(path), "rb") as recording:
        rate = recording.getframerate()
        channels = recording.getnchannels()
        frames = recording.readframes(recording.getnframes())
    data = np.frombuffer(frames, dtype=np.int16).astype(np.float64) / 32768.0
    return data[::channels], rate


class Recording:
    """Levels of given tones in short windows of a recording."""

    def __init__(self, path, window=0.05):
        self.samples, self.rate = read_mono(path)
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

    def first_rise(self, frequency, start, end):
        """When `frequency` first rises above the onset level between two times, or None."""
        starts = [t for t, up in self.onsets(frequency, start, end) if up]
        return starts[0] if starts else None

    def onsets(self, frequency, start, end, threshold_db=-30):
        """The times (window starts) where `frequency` rises above or falls below a level."""
        changes, above = [], None
        for t, db in self.series(frequency, start, end):
            now = db > threshold_db
            if above is not None and now != above:
                changes.append((t, now))
            above = now
        return changes
