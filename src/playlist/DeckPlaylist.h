#pragma once

#include "common/Paths.h"
#include "deck/WindowContext.h"

#include <QAbstractListModel>
#include <QBrush>
#include <QList>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

class QPalette;

namespace velmor {

class KnownTracks;
class TagReading;

// One deck's playlist: its entries, each a file (its name and folder) with the marks the
// deck puts on it. The deck's list box is a view of it. A name that is not valid UTF-8 is
// shown with replacement characters and kept whole beside.
//
// An entry the player could not open or decode is marked: greyed and struck through, its
// tooltip (and its description for assistive tools) giving the reason. The entry whose file
// is in the deck is shown in bold on a tint of its own. Both marks stay with their entries
// when others are added or deleted.
//
// Given the window's known tracks, an entry whose tags give an artist and a title shows
// "Artist – Title", its tooltip the file's path; the entries' names stay the files' names.
//
// An entry whose file was played tonight is shown in italics, and its tooltip and
// description end in "Played tonight".
class DeckPlaylist : public QAbstractListModel, public DeckEntries {
    Q_OBJECT
public:
    explicit DeckPlaylist(QObject* parent = nullptr);

    // How the marks look in the views, from their palette (the application's until set).
    void setLooks(const QPalette& palette);
    // Shows the names `known` learns from tags, and has `reading` read the tags of every
    // entry added from now on.
    void showTags(const KnownTracks& known, TagReading& reading);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    int count() const override { return int(entries_.size()); }
    QString name(int i) const override;
    QString folder(int i) const;
    // The folder and the name joined by the platform's separator.
    QString fullPath(int i) const override;
    Track track(int i) const;
    QList<Track> tracks() const;

    void append(const QString& name, const QString& folder);
    // Appends many entries at once, in order (a folder of thousands stays quick).
    void append(const QList<Track>& tracks);
    // Puts entries before entry `row` (at the end for count()), in order.
    void insert(int row, const QList<Track>& tracks);

    // Every entry gets an id when it is added, one more than the entry added before; so
    // the entries added together have ids that grow along them, and an entry keeps its id
    // when others are added or deleted.
    using EntryId = qint64;
    EntryId id(int i) const;
    // The entry with `id`, looked for from entry `from` on; -1 when it is gone.
    int find(EntryId id, int from = 0) const;
    // Entry i names another file (the list keeps its place and its marks).
    void setTrack(int i, const Track& track);
    void removeAt(int i);
    // Removes the entries at `rows` (in any order, each once or more); the others keep
    // their order.
    void remove(QList<int> rows);

    void markUnplayable(int i, const QString& reason) override;
    struct Mark {
        int entry;
        QString reason;
    };
    // Marks many entries at once, which the views hear of once.
    void markUnplayable(const QList<Mark>& marks);
    void clearUnplayable(int i) override;
    bool isUnplayable(int i) const override;
    QString unplayableReason(int i) const; // "" when the entry is not marked

    // The full paths of the tracks played tonight; the entries of those files are marked.
    void setPlayed(const QSet<QString>& paths);

    // -1 shows none.
    void setLoaded(int i) override;
    int loaded() const override; // -1 when none is shown

private:
    struct Entry {
        EntryId id;
        QString name;
        QString shown; // the name as it can be shown
        QString folder;
        std::optional<QString> unplayable; // why it does not play
    };
    const Entry& entry(int i) const;
    Entry& entry(int i);
    void changed(int top, int bottom, const QList<int>& roles);
    // The name from tags of an entry; "" where its tags do not give one.
    QString taggedName(const Entry& e) const;
    QVariant tip(const Entry& e) const;
    // The views hear of names learnt once per turn of the event loop, however many came.
    void learned();

    std::vector<Entry> entries_;
    EntryId nextId_ = 0;
    EntryId loaded_ = -1;
    QBrush unplayableText_, loadedBackground_;
    const KnownTracks* known_ = nullptr;
    TagReading* reading_ = nullptr;
    QSet<QString> played_;
    bool refreshing_ = false;
};

} // namespace velmor
