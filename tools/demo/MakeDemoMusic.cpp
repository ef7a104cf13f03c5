// Writes Velmor's demo tracks: short pieces of our own, each with its own tempo and key,
// as MP3 (through the lame encoder) and WAV, and an M3U of the MP3s.
//
//   make_demo_music <output folder> [<lame program>]

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sndfile.h>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Piece {
    const char* name; // the file's name without its extension
    double bpm;
    int rootNote; // MIDI note of the key
    bool minor;
    int bars;
    bool mp3;
};

const Piece kPieces[] = {
    {"Sunrise Over Deck One (C major, 100 BPM)", 100, 48, false, 16, true},
    {"Second Deck Groove (A minor, 124 BPM)", 124, 45, true, 20, true},
    {"Crossfade Drive (E minor, 132 BPM)", 132, 40, true, 22, true},
    {"Slow Lights (F major, 84 BPM)", 84, 41, false, 12, false},
    {"Last Call (D minor, 112 BPM)", 112, 38, true, 16, false},
};

double NoteHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A deterministic noise source, so that every build writes the same files.
struct Noise {
    unsigned state = 12345;
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    }
};

std::vector<float> Render(const Piece& piece) {
    const double beat = 60.0 / piece.bpm;
    const double seconds = piece.bars * 4 * beat;
    const size_t frames = static_cast<size_t>(seconds * kRate);
    std::vector<float> out(2 * frames, 0.0f);
    // I - VI - IV - V in major, i - VI - III - VII in minor: one chord a bar.
    const int major[] = {0, 9, 5, 7}, minor[] = {0, 8, 3, 10};
    const int* steps = piece.minor ? minor : major;
    const int third = piece.minor ? 3 : 4;
    Noise noise;
    float hatLevel = 0;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double inBeat = std::fmod(t, beat);
        const int bar = static_cast<int>(t / (4 * beat));
        const int root = piece.rootNote + steps[bar % 4];
        // Kick on every beat: a falling sine.
        const double kick = std::sin(2 * M_PI * (50 + 90 * std::exp(-inBeat * 30)) * inBeat) *
                            std::exp(-inBeat * 9);
        // Hi-hat on the off-beats.
        const double offBeat = std::fmod(t + beat / 2, beat);
        hatLevel = 0.7f * hatLevel + 0.3f * noise.next();
        const double hat = (noise.next() - hatLevel) * std::exp(-offBeat * 40) * 0.25;
        // Bass in eighths on the chord's root.
        const double eighth = std::fmod(t, beat / 2);
        const double bassHz =
            NoteHz(root - 12 + (static_cast<int>(t / (beat / 2)) % 4 == 3 ? 7 : 0));
        const double bass =
            (std::sin(2 * M_PI * bassHz * t) + 0.3 * std::sin(4 * M_PI * bassHz * t)) *
            std::exp(-eighth * 6) * 0.35;
        // A soft pad of the triad, and an arpeggio in sixteenths.
        double pad = 0;
        for (int interval : {0, third, 7})
            pad += std::sin(2 * M_PI * NoteHz(root + 12 + interval) * t);
        const int sixteenth = static_cast<int>(t / (beat / 4));
        const int arpNotes[] = {0, third, 7, 12};
        const double arpT = std::fmod(t, beat / 4);
        const double arp = std::sin(2 * M_PI * NoteHz(root + 24 + arpNotes[sixteenth % 4]) * t) *
                           std::exp(-arpT * 12) * 0.12;
        const double fade = std::min({1.0, t / 2.0, (seconds - t) / 3.0});
        const double left = (0.45 * kick + hat + bass + 0.06 * pad + arp * 1.2) * fade * 0.55;
        const double right =
            (0.45 * kick + hat * 0.8 + bass + 0.06 * pad + arp * 0.8) * fade * 0.55;
        out[2 * i] = static_cast<float>(left);
        out[2 * i + 1] = static_cast<float>(right);
    }
    return out;
}

bool WriteWav(const std::string& path, const std::vector<float>& stereo) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const sf_count_t frames = static_cast<sf_count_t>(stereo.size() / 2);
    const bool ok = sf_writef_float(file, stereo.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [<lame program>]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string lame = argc > 2 ? argv[2] : "";
    std::filesystem::create_directories(folder);
    std::ofstream playlist(folder / "Velmor demo.m3u", std::ios::binary);
    for (const Piece& piece : kPieces) {
        const auto audio = Render(piece);
        const std::string wav = (folder / (std::string(piece.name) + ".wav")).string();
        if (!WriteWav(wav, audio)) {
            std::fprintf(stderr, "cannot write %s\n", wav.c_str());
            return 1;
        }
        if (!piece.mp3 || lame.empty())
            continue;
        const std::string mp3 = (folder / (std::string(piece.name) + ".mp3")).string();
        const std::string command = "\"" + lame + "\" --quiet -V 2 \"" + wav + "\" \"" + mp3 + "\"";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "lame failed on %s\n", wav.c_str());
            return 1;
        }
        std::filesystem::remove(wav);
        playlist << piece.name << ".mp3\r\n"; // the deck's playlists read CR LF lines
    }
    return playlist.good() ? 0 : 1;
}
