#pragma once

#include "playlist/Paths.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QString>

class QListWidget;

namespace velmor {

// One deck's playlist: the file names the deck's list shows and, at the same positions,
// their folders. Both live in the same list item, and every change goes through here, so
// the names and the folders can never drift apart. A name that is not valid UTF-8 is shown
// with replacement characters and kept whole beside.
class DeckPlaylist {
public:
    explicit DeckPlaylist(QListWidget* view);

    int count() const;
    QString name(int i) const;
    QString folder(int i) const;
    // The folder and the name joined by the platform's separator.
    QString fullPath(int i) const;
    Track track(int i) const { return {name(i), folder(i)}; }
    QList<Track> tracks() const;

    void append(const QString& name, const QString& folder);
    // Appends many entries at once, in order (a folder of thousands stays quick).
    void append(const QList<Track>& tracks);
    // Entry i names another file (the list keeps its place and its marks).
    void setTrack(int i, const Track& track);
    void removeAt(int i);
    // Removes every selected entry; the others keep their order.
    void removeSelected();

    // An entry the player could not open or decode is marked: greyed and struck through,
    // its tooltip giving the reason. The mark goes when the entry plays after all.
    void markUnplayable(int i, const QString& reason);
    void clearUnplayable(int i);
    bool isUnplayable(int i) const;
    QString unplayableReason(int i) const; // "" when the entry is not marked

    // The entry whose file is in the deck, shown in bold on a tint of its own; the list's
    // current entry and selection stay as they are. -1 shows none. The mark stays with its
    // entry when others are added or deleted.
    void setLoaded(int i);
    int loaded() const; // -1 when none is shown

    // The entry clicked last (-1 when there is none).
    int current() const;

    QListWidget* view() const { return view_; }

private:
    QListWidget* view_;
    QPersistentModelIndex loaded_;
};

} // namespace velmor
