#pragma once

#include <string>
#include <vector>

namespace velmor::test {

// Audio files the tests make for themselves, and measurements of what the engine renders.

// A sine of `frequency` Hz, mono, `seconds` long.
std::vector<float> Tone(double frequency, double seconds, int rate, float amplitude = 0.5f);
// A tone whose pitch glides, so that every stretch of it differs from every other.
std::vector<float> Sweep(double seconds, int rate, float amplitude = 0.5f);
// Interleaved stereo from mono.
std::vector<float> Stereo(const std::vector<float>& mono);

// Writes 16-bit WAV (channels 1 or 2, interleaved samples).
void WriteWav(const std::string& path, const std::vector<float>& samples, int rate, int channels);
// Encodes a WAV to MP3 with the lame encoder; extra options such as "-t" (no info tag).
void EncodeMp3(const std::string& wav, const std::string& mp3, const std::string& options = "");
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// The whole file, decoded as the engine's decoders read it (interleaved stereo).
std::vector<float> DecodeAll(const std::string& path);

// Keeps ALSA's plugins loaded for the life of the process: ALSA unloads them when a device
// closes, and the leak checker could then no longer tell their caches from our leaks.
void KeepSoundPluginsLoaded();

// Measurements over interleaved stereo, left channel, frames [from, to).
double RmsDb(const std::vector<float>& stereo, long from, long to);
double Frequency(const std::vector<float>& stereo, long from, long to, int rate);
long FirstSoundingFrame(const std::vector<float>& stereo, long from = 0);
long LastSoundingFrame(const std::vector<float>& stereo);
float LargestStep(const std::vector<float>& stereo, long from, long to);
// The most frames in a row of digital silence (both channels exactly 0).
long LongestSilentRun(const std::vector<float>& stereo, long from, long to);
float PeakOf(const std::vector<float>& stereo);
// The amplitude of one frequency, in dB full scale (exact over whole cycles of it).
double ToneDb(const std::vector<float>& stereo, long from, long to, double frequency, int rate);
// Of the multiples of `spacing` Hz up to `highest`, other than `tones`, the loudest in dB
// below the quieter tone: how far down the distortion of a mix of tones is.
double DistortionBelowTonesDb(const std::vector<float>& stereo, long from, long to, int rate,
                              const std::vector<double>& tones, double spacing,
                              double highest = 4000);

} // namespace velmor::test
