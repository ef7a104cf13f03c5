#include "playlist/BrowserLists.h"

#include "common/Error.h"

#include <QCollator>
#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace velmor {

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(QDir::separator()) || folder.endsWith('/'))
        return folder + name;
    return folder + QDir::separator() + name;
}

namespace {
QString nativeClean(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

void sortByName(QStringList& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

// Throws the system's description when `path` is not a folder that can be listed.
QDir readableFolder(const QString& path) {
    QDir dir(path);
    if (!dir.exists())
        throw Error(QStringLiteral("Path not found: %1").arg(path));
    if (!QFileInfo(path).isReadable())
        throw Error(QStringLiteral("Permission denied: %1").arg(path));
    return dir;
}
} // namespace

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
        if (path.startsWith(root) && (best < 0 || root.size() > itemText(best).size()))
            best = i;
    }
    if (best >= 0) {
        const QSignalBlocker quiet(this);
        setCurrentIndex(best);
    }
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        emit folderChosen(item->data(Qt::UserRole).toString());
    });
}

void FolderList::setPath(const QString& path) {
    const QString clean = nativeClean(path);
    QDir dir = readableFolder(clean);
    QStringList subfolders = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    if (!dir.isReadable())
        throw Error(QStringLiteral("Permission denied: %1").arg(clean));
    subfolders.removeIf([](const QString& name) { return name.startsWith('.'); });
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
}

void FileList::setPath(const QString& path) {
    path_ = nativeClean(path);
    Refresh();
}

void FileList::setPattern(const QString& pattern) {
    patterns_ = pattern.split(';', Qt::SkipEmptyParts);
    Refresh();
}

void FileList::Refresh() {
    clear();
    if (path_.isEmpty())
        return;
    QDir dir(path_);
    dir.setNameFilters(patterns_);
    dir.setFilter(QDir::Files | QDir::Hidden);
    QStringList names = dir.entryList();
    sortByName(names);
    addItems(names);
}

} // namespace velmor
