#include "playlist/DeckPlaylist.h"

#include "analysis/KnownTracks.h"
#include "analysis/TagReading.h"
#include "common/FileNames.h"
#include "legacy/Colors.h"
#include "legacy/Error.h"

#include <QFont>
#include <QPalette>
#include <algorithm>

namespace velmor {

DeckPlaylist::DeckPlaylist(QObject* parent) : QAbstractListModel(parent) {
    setLooks(QPalette());
}

void DeckPlaylist::setLooks(const QPalette& palette) {
    unplayableText_ = palette.color(QPalette::Disabled, QPalette::Text);
    loadedBackground_ = ToQColor(kLoadedEntry, palette);
    if (!entries_.empty())
        changed(0, count() - 1, {Qt::ForegroundRole, Qt::BackgroundRole});
}

void DeckPlaylist::showTags(const KnownTracks& known, TagReading& reading) {
    known_ = &known;
    reading_ = &reading;
    connect(&known, &KnownTracks::learned, this, &DeckPlaylist::learned);
}

void DeckPlaylist::learned() {
    if (refreshing_)
        return;
    refreshing_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refreshing_ = false;
            if (!entries_.empty())
                changed(0, count() - 1,
                        {Qt::DisplayRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
        },
        Qt::QueuedConnection);
}

QString DeckPlaylist::taggedName(const Entry& e) const {
    const TrackTags* tags = known_ ? known_->tags(JoinPath(e.folder, e.name)) : nullptr;
    return tags ? TaggedName(*tags) : QString();
}

const DeckPlaylist::Entry& DeckPlaylist::entry(int i) const {
    if (i < 0 || i >= count())
        throw Error(QStringLiteral("There is no entry %1 in the playlist").arg(i + 1));
    return entries_[size_t(i)];
}

DeckPlaylist::Entry& DeckPlaylist::entry(int i) {
    return const_cast<Entry&>(std::as_const(*this).entry(i));
}

void DeckPlaylist::changed(int top, int bottom, const QList<int>& roles) {
    emit dataChanged(index(top), index(bottom), roles);
}

int DeckPlaylist::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant DeckPlaylist::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry& e = entries_[size_t(index.row())];
    const bool loaded = e.id == loaded_;
    switch (role) {
    case Qt::DisplayRole: {
        const QString tagged = taggedName(e);
        return tagged.isEmpty() ? e.shown : tagged;
    }
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return tip(e);
    case Qt::FontRole: {
        const bool played = played_.contains(JoinPath(e.folder, e.name));
        if (!loaded && !e.unplayable && !played)
            return {};
        // Only what the marks change: the rest is the view's own font.
        QFont font;
        if (loaded)
            font.setBold(true);
        if (e.unplayable)
            font.setStrikeOut(true);
        if (played)
            font.setItalic(true);
        return font;
    }
    case Qt::ForegroundRole:
        return e.unplayable ? QVariant(unplayableText_) : QVariant();
    case Qt::BackgroundRole:
        return loaded ? QVariant(loadedBackground_) : QVariant();
    default:
        return {};
    }
}

QVariant DeckPlaylist::tip(const Entry& e) const {
    if (e.unplayable && !e.unplayable->isEmpty())
        return *e.unplayable;
    // A name from tags tells where its file is; without either, the list's own tooltip
    // shows.
    const QString path = JoinPath(e.folder, e.name);
    const QString where = taggedName(e).isEmpty() ? QString() : DisplayName(path);
    if (!played_.contains(path))
        return where.isEmpty() ? QVariant() : QVariant(where);
    return where.isEmpty() ? QStringLiteral("Played tonight") : where + "\nPlayed tonight";
}

void DeckPlaylist::setPlayed(const QSet<QString>& paths) {
    played_ = paths;
    if (count() > 0)
        changed(0, count() - 1, {Qt::FontRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

QString DeckPlaylist::name(int i) const {
    return entry(i).name;
}

QString DeckPlaylist::folder(int i) const {
    return entry(i).folder;
}

QString DeckPlaylist::fullPath(int i) const {
    const Entry& e = entry(i);
    return JoinPath(e.folder, e.name);
}

Track DeckPlaylist::track(int i) const {
    const Entry& e = entry(i);
    return {e.name, e.folder};
}

QList<Track> DeckPlaylist::tracks() const {
    QList<Track> all;
    all.reserve(count());
    for (const Entry& e : entries_)
        all.append({e.name, e.folder});
    return all;
}

void DeckPlaylist::append(const QString& name, const QString& folder) {
    append(QList<Track>{{name, folder}});
}

void DeckPlaylist::append(const QList<Track>& tracks) {
    insert(count(), tracks);
}

void DeckPlaylist::insert(int row, const QList<Track>& tracks) {
    if (row < 0 || row > count())
        throw Error(QStringLiteral("There is no entry %1 in the playlist").arg(row + 1));
    if (tracks.isEmpty())
        return;
    std::vector<Entry> added;
    added.reserve(size_t(tracks.size()));
    for (const Track& track : tracks)
        added.push_back({nextId_++, track.name, DisplayName(track.name), track.folder, {}});
    // One insertion for the views, not one per entry.
    beginInsertRows({}, row, row + int(tracks.size()) - 1);
    entries_.insert(entries_.begin() + row, std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
    endInsertRows();
    if (reading_)
        reading_->read(tracks);
}

DeckPlaylist::EntryId DeckPlaylist::id(int i) const {
    return entry(i).id;
}

int DeckPlaylist::find(EntryId wanted, int from) const {
    const auto start = entries_.begin() + std::clamp(from, 0, count());
    const auto at =
        std::find_if(start, entries_.end(), [wanted](const Entry& e) { return e.id == wanted; });
    return at != entries_.end() ? int(at - entries_.begin()) : -1;
}

void DeckPlaylist::setTrack(int i, const Track& track) {
    Entry& e = entry(i);
    e.name = track.name;
    e.shown = DisplayName(track.name);
    e.folder = track.folder;
    changed(i, i, {Qt::DisplayRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
    if (reading_)
        reading_->read({track});
}

void DeckPlaylist::removeAt(int i) {
    remove({i});
}

void DeckPlaylist::remove(QList<int> rows) {
    for (int row : rows)
        entry(row); // throws before anything is removed
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the last entry up, a run of neighbours at a time: the positions still to be
    // removed stay where they were.
    for (qsizetype end = rows.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && rows[start - 1] == rows[start] - 1)
            --start;
        beginRemoveRows({}, rows[start], rows[end - 1]);
        entries_.erase(entries_.begin() + rows[start], entries_.begin() + rows[end - 1] + 1);
        endRemoveRows();
        end = start;
    }
}

void DeckPlaylist::markUnplayable(int i, const QString& reason) {
    markUnplayable({{i, reason}});
}

void DeckPlaylist::markUnplayable(const QList<Mark>& marks) {
    int top = count(), bottom = -1;
    for (const Mark& mark : marks) {
        entry(mark.entry); // throws before anything is marked
        top = std::min(top, mark.entry);
        bottom = std::max(bottom, mark.entry);
    }
    if (marks.isEmpty())
        return;
    for (const Mark& mark : marks)
        entries_[size_t(mark.entry)].unplayable = mark.reason;
    // One change for the views, from the first entry marked to the last.
    changed(top, bottom,
            {Qt::FontRole, Qt::ForegroundRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

void DeckPlaylist::clearUnplayable(int i) {
    Entry& e = entry(i);
    if (!e.unplayable)
        return;
    e.unplayable.reset();
    changed(i, i,
            {Qt::FontRole, Qt::ForegroundRole, Qt::ToolTipRole, Qt::AccessibleDescriptionRole});
}

bool DeckPlaylist::isUnplayable(int i) const {
    return entry(i).unplayable.has_value();
}

QString DeckPlaylist::unplayableReason(int i) const {
    return entry(i).unplayable.value_or(QString());
}

void DeckPlaylist::setLoaded(int i) {
    const EntryId wanted = i < 0 ? -1 : entry(i).id;
    const int old = loaded();
    loaded_ = wanted;
    for (int row : {old, i})
        if (row >= 0)
            changed(row, row, {Qt::FontRole, Qt::BackgroundRole});
}

int DeckPlaylist::loaded() const {
    return loaded_ < 0 ? -1 : find(loaded_);
}

} // namespace velmor
