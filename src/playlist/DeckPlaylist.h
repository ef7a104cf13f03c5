#pragma once

#include "common/Paths.h"
#include "deck/WindowContext.h"

#include <QList>
#include <QPersistentModelIndex>
#include <QString>
#include <vector>

class QListWidget;

namespace velmor {

// One deck's playlist: the file names the deck's list shows and, at the same positions,
// their folders. Both live in the same list item, and every change goes through here, so
// the names and the folders can never drift apart. A name that is not valid UTF-8 is shown
// with replacement characters and kept whole beside.
class DeckPlaylist : public DeckEntries {
public:
    explicit DeckPlaylist(QListWidget* view);
    ~DeckPlaylist();
    DeckPlaylist(const DeckPlaylist&) = delete;
    DeckPlaylist& operator=(const DeckPlaylist&) = delete;

    int count() const override;
    QString name(int i) const override;
    QString folder(int i) const;
    // The folder and the name joined by the platform's separator.
    QString fullPath(int i) const override;
    Track track(int i) const { return {name(i), folder(i)}; }
    QList<Track> tracks() const;

    void append(const QString& name, const QString& folder);
    // Appends many entries at once, in order (a folder of thousands stays quick).
    void append(const QList<Track>& tracks);

    // Every entry gets an id when it is appended, one more than the entry appended before;
    // so ids grow along the list, and an entry keeps its id when others are deleted.
    using EntryId = qint64;
    EntryId id(int i) const;
    // The entry with `id`, looked for from entry `from` on; -1 when it is gone.
    int find(EntryId id, int from = 0) const;
    // Entry i names another file (the list keeps its place and its marks).
    void setTrack(int i, const Track& track);
    void removeAt(int i);
    // Removes every selected entry; the others keep their order.
    void removeSelected();

    // An entry the player could not open or decode is marked: greyed and struck through,
    // its tooltip giving the reason. The mark goes when the entry plays after all.
    void markUnplayable(int i, const QString& reason) override;
    struct Mark {
        int entry;
        QString reason;
    };
    // Marks many entries at once, which the view hears of once.
    void markUnplayable(const QList<Mark>& marks);
    void clearUnplayable(int i) override;
    bool isUnplayable(int i) const override;
    QString unplayableReason(int i) const; // "" when the entry is not marked

    // The entry whose file is in the deck, shown in bold on a tint of its own; the list's
    // current entry and selection stay as they are. -1 shows none. The mark stays with its
    // entry when others are added or deleted.
    void setLoaded(int i) override;
    int loaded() const; // -1 when none is shown

    // The entry clicked last (-1 when there is none).
    int current() const;

    QListWidget* view() const { return view_; }

private:
    QListWidget* view_;
    QPersistentModelIndex loaded_;
    // The entries' ids, row by row, kept in step with the view's rows whoever changes them.
    std::vector<EntryId> ids_;
    EntryId nextId_ = 0;
    QList<QMetaObject::Connection> followed_;
};

} // namespace velmor
