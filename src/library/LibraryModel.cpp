#include "library/LibraryModel.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace velmor {

QString LengthText(std::optional<double> seconds) {
    if (!seconds || !(*seconds >= 0))
        return {};
    const qint64 whole = qint64(std::floor(*seconds));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QChar(u'0'));
}

QString TempoText(std::optional<double> bpm) {
    if (!bpm || !(*bpm > 0))
        return {};
    return QString::number(*bpm, 'f', 1);
}

void LibraryModel::setRows(std::vector<LibraryRow> rows) {
    if (rows == rows_)
        return; // a search typed on that finds the same tracks: the list stays as it stands
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void LibraryModel::setPlayed(QSet<QString> paths) {
    played_ = std::move(paths);
    if (!rows_.empty())
        emit dataChanged(index(0, Played), index(rowCount() - 1, Played));
}

int LibraryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int LibraryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LibraryRow& track = rows_[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return text(track, index.column());
    case Qt::AccessibleTextRole:
        if (index.column() == Played)
            return played_.contains(track.path) ? QStringLiteral("played tonight") : QString();
        return text(track, index.column());
    case Qt::ToolTipRole:
        return track.missing ? QStringLiteral("Its music folder is not there") : QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() == Length || index.column() == Tempo)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case PathRole:
        return track.path;
    default:
        return {};
    }
}

QVariant LibraryModel::text(const LibraryRow& track, int column) const {
    switch (column) {
    case Artist:
        return track.artist;
    case Title:
        return track.title.isEmpty() ? track.name : track.title;
    case Length:
        return LengthText(track.seconds);
    case Tempo:
        return TempoText(track.bpm);
    case Played:
        return played_.contains(track.path) ? QStringLiteral("\u2713") : QString();
    default:
        return {};
    }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[] = {"Artist", "Title", "Length", "Tempo", "Played"};
    if (section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(kHeaders[section]);
}

Qt::ItemFlags LibraryModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) |
           (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

QStringList LibraryModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* LibraryModel::mimeData(const QModelIndexList& indexes) const {
    // Each row once, in the order of the list, whichever of its cells were chosen.
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<QUrl> urls;
    for (const int row : rows)
        urls.append(QUrl::fromLocalFile(rows_[size_t(row)].path));
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

} // namespace velmor
