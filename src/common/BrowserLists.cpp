#include "common/BrowserLists.h"

#include "common/FileNames.h"
#include "common/FileSystem.h"

#include <QDir>
#include <QRegularExpression>
#include <QStorageInfo>
#include <algorithm>

namespace velmor {

namespace {
constexpr int kNameRole = Qt::UserRole;

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

// "*.mp3" and the like by their ending, anything else as a wildcard pattern.
bool matches(const QString& name, const QStringList& patterns) {
    for (const QString& pattern : patterns) {
        const QStringView ending = QStringView(pattern).sliced(1);
        if (pattern.startsWith(u'*') && !ending.contains(u'*') && !ending.contains(u'?') &&
            !ending.contains(u'[')) {
            if (name.endsWith(ending, Qt::CaseInsensitive))
                return true;
        } else if (QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive)
                       .match(name)
                       .hasMatch()) {
            return true;
        }
    }
    return false;
}

// A file list row showing `name`, which it keeps whole when the shown text differs.
QListWidgetItem* nameItem(const QString& name) {
    auto* item = new QListWidgetItem(DisplayName(name));
    if (item->text() != name)
        item->setData(kNameRole, name);
    return item;
}
} // namespace

QStringList ListFiles(const QString& folder, const QStringList& patterns) {
    QStringList names;
    for (const FolderEntry& entry : ListFolder(folder))
        if (entry.kind == FileKind::File && matches(entry.name, patterns))
            names.append(entry.name);
    sortByName(names);
    return names;
}

QList<int> SelectedRows(const QAbstractItemView* list) {
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
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit folderChosen(item->data(kNameRole).toString()); });
}

void FolderList::setPath(const QString& path) {
    const QString clean = nativeClean(path);
    QStringList subfolders;
    for (const FolderEntry& entry : ListFolder(clean)) // throws when it cannot be read
        if (entry.kind == FileKind::Folder && !entry.name.startsWith(u'.'))
            subfolders.append(entry.name);
    sortByName(subfolders);
    path_ = clean;
    fill(clean, subfolders);
}

void FolderList::fill(const QString& path, const QStringList& subfolders) {
    clear();
    // The folder and its ancestors, root first; worked out from the text alone, since a
    // name that is not UTF-8 cannot be looked up through Qt's own file functions.
    QStringList chain;
    for (QString folder = path;;) {
        chain.prepend(folder);
        const qsizetype cut = folder.lastIndexOf(kSeparator);
        if (folder.size() <= 1 || cut < 0)
            break; // the root
        folder = cut == 0 ? QString(kSeparator) : folder.first(cut);
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name =
            depth == 0 ? folder : folder.sliced(folder.lastIndexOf(kSeparator) + 1);
        auto* item = new QListWidgetItem(DisplayName(QString(depth * 2, ' ') + name), this);
        item->setData(kNameRole, folder);
        ++depth;
    }
    setCurrentRow(count() - 1);
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(DisplayName(QString(depth * 2, ' ') + name), this);
        item->setData(kNameRole, JoinPath(path, name));
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

QString FileList::name(int row) const {
    const QListWidgetItem* row_ = item(row);
    const QVariant kept = row_->data(kNameRole);
    return kept.isValid() ? kept.toString() : row_->text();
}

void FileList::show(const QString& path) {
    const QStringList names = ListFiles(path, patterns_);
    path_ = path;
    clear();
    // Names that are valid UTF-8 (nearly all) go in as one batch.
    bool plain = true;
    for (const QString& name : names)
        plain = plain && DisplayName(name) == name;
    if (plain) {
        addItems(names);
        return;
    }
    for (const QString& name : names)
        addItem(nameItem(name));
}

} // namespace velmor
