#include "playlist/DeckPlaylist.h"

#include "common/Accessible.h"
#include "common/BrowserLists.h"
#include "common/Colors.h"
#include "common/Error.h"
#include "common/FileNames.h"

#include <QFont>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <numeric>

namespace velmor {

namespace {
constexpr int kFolderRole = Qt::UserRole;
constexpr int kUnplayableRole = Qt::UserRole + 1;
constexpr int kNameRole = Qt::UserRole + 2; // only where the shown text is not the name

QListWidgetItem* entry(QListWidget* view, int i) {
    QListWidgetItem* item = i >= 0 ? view->item(i) : nullptr;
    if (!item)
        throw Error(QStringLiteral("There is no entry %1 in the playlist").arg(i + 1));
    return item;
}

QString nameOf(const QListWidgetItem* item) {
    const QVariant kept = item->data(kNameRole);
    return kept.isValid() ? kept.toString() : item->text();
}
} // namespace

DeckPlaylist::DeckPlaylist(QListWidget* view) : view_(view) {
    // Every row has the same height: long lists lay out without measuring each entry.
    view_->setUniformItemSizes(true);
    const QAbstractItemModel* model = view_->model();
    ids_.resize(size_t(model->rowCount()));
    std::iota(ids_.begin(), ids_.end(), nextId_);
    nextId_ += EntryId(ids_.size());
    followed_ = {
        QObject::connect(model, &QAbstractItemModel::rowsInserted,
                         [this](const QModelIndex&, int first, int last) {
                             const auto at =
                                 ids_.insert(ids_.begin() + first, size_t(last - first + 1), 0);
                             std::iota(at, at + (last - first + 1), nextId_);
                             nextId_ += last - first + 1;
                         }),
        QObject::connect(model, &QAbstractItemModel::rowsRemoved,
                         [this](const QModelIndex&, int first, int last) {
                             ids_.erase(ids_.begin() + first, ids_.begin() + last + 1);
                         }),
        QObject::connect(model, &QAbstractItemModel::modelReset, [this] { ids_.clear(); }),
    };
}

DeckPlaylist::~DeckPlaylist() {
    for (const QMetaObject::Connection& connection : followed_)
        QObject::disconnect(connection);
}

int DeckPlaylist::count() const {
    return view_->count();
}

QString DeckPlaylist::name(int i) const {
    return nameOf(entry(view_, i));
}

QString DeckPlaylist::folder(int i) const {
    return entry(view_, i)->data(kFolderRole).toString();
}

QString DeckPlaylist::fullPath(int i) const {
    return JoinPath(folder(i), name(i));
}

QList<Track> DeckPlaylist::tracks() const {
    QList<Track> all;
    all.reserve(count());
    for (int i = 0; i < count(); ++i) {
        const QListWidgetItem* item = view_->item(i);
        all.append({nameOf(item), item->data(kFolderRole).toString()});
    }
    return all;
}

void DeckPlaylist::append(const QString& name, const QString& folder) {
    append(QList<Track>{{name, folder}});
}

void DeckPlaylist::append(const QList<Track>& tracks) {
    if (tracks.isEmpty())
        return;
    const int first = count();
    QStringList shown;
    shown.reserve(tracks.size());
    QList<int> kept; // the entries whose shown text is not their name
    for (int i = 0; i < tracks.size(); ++i) {
        shown.append(DisplayName(tracks[i].name));
        if (shown.last() != tracks[i].name)
            kept.append(i);
    }
    view_->addItems(shown); // one insertion for the view, not one per entry
    // The folder is never shown, so the view need not hear of it; the model stays quiet
    // rather than announcing thousands of invisible changes.
    const QSignalBlocker quiet(view_->model());
    for (int i = 0; i < tracks.size(); ++i)
        view_->item(first + i)->setData(kFolderRole, tracks[i].folder);
    for (int i : kept)
        view_->item(first + i)->setData(kNameRole, tracks[i].name);
}

DeckPlaylist::EntryId DeckPlaylist::id(int i) const {
    entry(view_, i);
    return ids_[size_t(i)];
}

int DeckPlaylist::find(EntryId wanted, int from) const {
    const auto start = ids_.begin() + std::clamp(from, 0, int(ids_.size()));
    const auto at = std::lower_bound(start, ids_.end(), wanted);
    return at != ids_.end() && *at == wanted ? int(at - ids_.begin()) : -1;
}

void DeckPlaylist::setTrack(int i, const Track& track) {
    QListWidgetItem* item = entry(view_, i);
    item->setText(DisplayName(track.name));
    item->setData(kNameRole, item->text() != track.name ? QVariant(track.name) : QVariant());
    item->setData(kFolderRole, track.folder);
}

void DeckPlaylist::removeAt(int i) {
    delete entry(view_, i);
}

void DeckPlaylist::removeSelected() {
    const QList<int> rows = SelectedRows(view_);
    // From the last entry up, a run of neighbours at a time: the positions still to be
    // removed stay where they were.
    for (qsizetype end = rows.size(); end > 0;) {
        qsizetype start = end - 1;
        while (start > 0 && rows[start - 1] == rows[start] - 1)
            --start;
        view_->model()->removeRows(rows[start], int(end - start));
        end = start;
    }
}

void DeckPlaylist::markUnplayable(int i, const QString& reason) {
    markUnplayable({{i, reason}});
}

void DeckPlaylist::markUnplayable(const QList<Mark>& marks) {
    int top = count(), bottom = -1;
    for (const Mark& mark : marks) {
        entry(view_, mark.entry); // throws before anything is marked
        top = std::min(top, mark.entry);
        bottom = std::max(bottom, mark.entry);
    }
    if (marks.isEmpty())
        return;
    QFont struck; // for the entries that have no font of their own
    struck.setStrikeOut(true);
    const QBrush grey(view_->palette().color(QPalette::Disabled, QPalette::Text));
    QAbstractItemModel* model = view_->model();
    {
        const QSignalBlocker quiet(model);
        for (const Mark& mark : marks) {
            QListWidgetItem* item = view_->item(mark.entry);
            if (item->data(Qt::FontRole).isValid()) {
                QFont font = item->font();
                font.setStrikeOut(true);
                item->setFont(font);
            } else {
                item->setFont(struck);
            }
            item->setForeground(grey);
            SetEntryToolTip(item, mark.reason);
            item->setData(kUnplayableRole, mark.reason);
        }
    }
    // One change for the view, from the first entry marked to the last.
    emit model->dataChanged(model->index(top, 0), model->index(bottom, 0),
                            {Qt::FontRole, Qt::ForegroundRole, Qt::ToolTipRole,
                             Qt::AccessibleDescriptionRole, kUnplayableRole});
}

void DeckPlaylist::clearUnplayable(int i) {
    QListWidgetItem* item = entry(view_, i);
    if (!item->data(kUnplayableRole).isValid())
        return;
    QFont font = item->font();
    font.setStrikeOut(false);
    item->setFont(font);
    item->setData(Qt::ForegroundRole, QVariant());
    SetEntryToolTip(item, {}); // the list's own tooltip shows again
    item->setData(kUnplayableRole, QVariant());
}

bool DeckPlaylist::isUnplayable(int i) const {
    return entry(view_, i)->data(kUnplayableRole).isValid();
}

QString DeckPlaylist::unplayableReason(int i) const {
    return entry(view_, i)->data(kUnplayableRole).toString();
}

void DeckPlaylist::setLoaded(int i) {
    if (QListWidgetItem* old = view_->item(loaded()); old && loaded() != i) {
        QFont font = old->font();
        font.setBold(false);
        old->setFont(font);
        old->setData(Qt::BackgroundRole, QVariant());
    }
    loaded_ = QPersistentModelIndex();
    if (i < 0)
        return;
    QListWidgetItem* item = entry(view_, i);
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
    item->setBackground(ToQColor(kLoadedEntry, view_->palette()));
    loaded_ = view_->model()->index(i, 0);
}

int DeckPlaylist::loaded() const {
    return loaded_.isValid() ? loaded_.row() : -1;
}

int DeckPlaylist::current() const {
    return view_->currentRow();
}

} // namespace velmor
