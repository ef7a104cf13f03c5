#include "playlist/BrowserLists.h"

#include "common/Error.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#ifdef Q_OS_UNIX
#include <dirent.h>
#endif

namespace velmor {

namespace {
QString nativeClean(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

// Case-insensitive order by name, as people read file lists; ties by exact text. The
// same in every locale.
void sortByName(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

// Throws the system's description when `path` is not a folder that can be listed.
void checkReadable(const QString& path) {
#ifdef Q_OS_UNIX
    if (DIR* folder = ::opendir(QFile::encodeName(path).constData())) {
        ::closedir(folder);
        return;
    }
    throw Error(QStringLiteral("%1: %2").arg(path, qt_error_string(errno)));
#else
    if (!QDir(path).exists())
        throw Error(QStringLiteral("%1: The folder does not exist").arg(path));
    if (!QDir(path).isReadable())
        throw Error(QStringLiteral("%1: Access is denied").arg(path));
#endif
}
} // namespace

QList<int> SelectedRows(const QListWidget* list) {
    QList<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            roots << QDir::toNativeSeparators(volume.rootPath());
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    addItems(roots);
}

void DriveList::showDriveOf(const QString& path) {
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemText(i);
        const bool holds = path == root || path.startsWith(JoinPath(root, QString()));
        if (holds && (best < 0 || root.size() > itemText(best).size()))
            best = i;
    }
    if (best >= 0) {
        const QSignalBlocker quiet(this);
        setCurrentIndex(best);
    }
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        emit folderChosen(item->data(Qt::UserRole).toString());
    });
}

void FolderList::setPath(const QString& path) {
    const QString clean = nativeClean(path);
    checkReadable(clean);
    QStringList subfolders = QDir(clean).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    sortByName(subfolders);
    path_ = clean;
    fill(clean, subfolders);
}

void FolderList::fill(const QString& path, const QStringList& subfolders) {
    clear();
    QStringList chain;
    for (QDir up(path);;) {
        chain.prepend(QDir::toNativeSeparators(up.absolutePath()));
        if (!up.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name = depth == 0 ? folder : QFileInfo(folder).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, this);
        item->setData(Qt::UserRole, folder);
        ++depth;
    }
    setCurrentRow(count() - 1);
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(QString(depth * 2, ' ') + name, this);
        item->setData(Qt::UserRole, JoinPath(path, name));
    }
}

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
}

void FileList::setPath(const QString& path) {
    show(nativeClean(path));
}

void FileList::setPattern(const QString& pattern) {
    patterns_ = pattern.split(';', Qt::SkipEmptyParts);
    if (!path_.isEmpty())
        Refresh();
}

void FileList::Refresh() {
    if (path_.isEmpty())
        clear();
    else
        show(path_);
}

void FileList::show(const QString& path) {
    checkReadable(path);
    QDir dir(path);
    dir.setNameFilters(patterns_); // without QDir::CaseSensitive: "*.mp3" shows A.MP3 too
    dir.setFilter(QDir::Files | QDir::Hidden);
    dir.setSorting(QDir::Unsorted);
    QStringList names = dir.entryList();
    sortByName(names);
    path_ = path;
    clear();
    addItems(names);
}

} // namespace velmor
