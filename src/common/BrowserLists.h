#pragma once

#include "common/Paths.h"

#include <QComboBox>
#include <QList>
#include <QListWidget>
#include <QStringList>

namespace velmor {

// The drive list: the mounted file systems by their root paths, "/" first.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);
    QString Drive() const { return currentText(); }
    // Selects the drive that holds `path` (the longest root that contains it).
    void showDriveOf(const QString& path);
};

// The folder list: the current folder's ancestors, the folder itself and its subfolders.
// Path() never ends in a separator except at a root.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);
    QString Path() const { return path_; }
    // Moves to `path`; throws Error with the system's description when it cannot be read,
    // leaving the list on the previous folder.
    void setPath(const QString& path);

signals:
    // Another folder was chosen by the user (a double click or Enter on an entry).
    void folderChosen(const QString& path);

private:
    void fill(const QString& path, const QStringList& subfolders);
    QString path_;
};

// The file list: the bare names of the current folder's files that match the pattern,
// without regard to letter case, sorted by name; several can be selected.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);
    QString Path() const { return path_; }
    // Shows the files of `path`; throws Error with the system's description when it cannot
    // be read, leaving the list as it was.
    void setPath(const QString& path);
    const QStringList& patterns() const { return patterns_; }
    void setPattern(const QString& pattern);
    // The file's name in row `row` as the file system holds it (the row shows it with
    // replacement characters where it is not valid UTF-8).
    QString name(int row) const;
    // Lists the folder again (a file saved or removed since shows up or goes).
    void Refresh();

private:
    void show(const QString& path);
    QString path_;
    QStringList patterns_;
};

// The names of the files of `folder` that match one of `patterns` (without regard to
// letter case), sorted as the file list shows them. Throws Error with the system's
// description when the folder cannot be listed.
QStringList ListFiles(const QString& folder, const QStringList& patterns);

// The rows selected in `list`, top to bottom.
QList<int> SelectedRows(const QAbstractItemView* list);

} // namespace velmor
