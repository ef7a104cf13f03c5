#pragma once

#include <QStringList>
#include <QStringView>

namespace velmor {

// The extensions of the files a deck's player plays (lower case, no dot), as the audio
// engine reports them: the file list, adding tracks and reading playlists all use this set.
const QStringList& PlayableExtensions();

// Whether `name` ends in "." and one of `extensions`, in any letter case.
bool HasExtension(QStringView name, const QStringList& extensions);

inline bool IsPlayableName(QStringView name) {
    return HasExtension(name, PlayableExtensions());
}

} // namespace velmor
