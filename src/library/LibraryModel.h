#pragma once

#include "library/LibrarySearch.h"

#include <QAbstractTableModel>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace velmor {

// A track's length as the library lists it, "m:ss" (185.4 s is "3:05"); "" for none.
QString LengthText(std::optional<double> seconds);
// A tempo to a tenth of a beat, "128.0"; "" for none.
QString TempoText(std::optional<double> bpm);

// The results of a library search, as the library window's list shows them: artist, title
// (the file name where the tags give none), length, tempo, and a mark on each track played
// tonight.
class LibraryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Artist, Title, Length, Tempo, Played, ColumnCount };
    // A row's track's path, for what the window does with the tracks chosen.
    static constexpr int PathRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<LibraryRow> rows);
    // The paths of the tracks played tonight (the evening's history tells them).
    void setPlayed(QSet<QString> paths);
    const LibraryRow& row(int index) const { return rows_[size_t(index)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Rows are dragged as a file manager drags files, so that a deck's list takes them as it
    // takes any dropped file.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    QVariant text(const LibraryRow& row, int column) const;

    std::vector<LibraryRow> rows_;
    QSet<QString> played_;
};

} // namespace velmor
