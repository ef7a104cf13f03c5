#pragma once

#include <QString>
#include <optional>

namespace velmor {

// What a track's tags say of it. Tags that are not text, and gains beyond ±30 dB, are as
// good as none.
struct TrackTags {
    QString artist;
    QString title;
    QString album;
    // The loudness its gain tags imply, LUFS: a ReplayGain track gain is to -18 LUFS, an
    // R128 track gain to -23 LUFS. None without either.
    std::optional<double> taggedLoudness;
    QString genre{};
    int year = 0; // none
    bool operator==(const TrackTags&) const = default;
};

// The tags of the file at `path` (ID3v2, Vorbis comments, FLAC, Opus, AIFF, WAV INFO); none
// of them for a file that has none or cannot be read. Reads the file: a worker's call.
TrackTags ReadTrackTags(const QString& path);

// A track's tags and its length as its file's headers give it (no decode), for a library
// that lists many files. Not readable where TagLib cannot make sense of the file or finds no
// sound in it.
struct TaggedTrack {
    bool readable = false;
    TrackTags tags;
    std::optional<double> seconds;
    bool operator==(const TaggedTrack&) const = default;
};
TaggedTrack ReadTaggedTrack(const QString& path);

// "Artist – Title" where the tags give both; "" otherwise (the file name stands).
QString TaggedName(const TrackTags& tags);

} // namespace velmor
