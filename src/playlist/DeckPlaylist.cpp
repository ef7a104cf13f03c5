#include "playlist/DeckPlaylist.h"

#include "common/Error.h"
#include "playlist/BrowserLists.h"

#include <QListWidget>

namespace velmor {

namespace {
constexpr int kFolderRole = Qt::UserRole;

QListWidgetItem* entry(QListWidget* view, int i) {
    QListWidgetItem* item = i >= 0 ? view->item(i) : nullptr;
    if (!item)
        throw Error(QStringLiteral("There is no entry %1 in the playlist").arg(i + 1));
    return item;
}
} // namespace

int DeckPlaylist::count() const {
    return view_->count();
}

QString DeckPlaylist::name(int i) const {
    return entry(view_, i)->text();
}

QString DeckPlaylist::folder(int i) const {
    return entry(view_, i)->data(kFolderRole).toString();
}

QString DeckPlaylist::fullPath(int i) const {
    return JoinPath(folder(i), name(i));
}

void DeckPlaylist::append(const QString& name, const QString& folder) {
    auto* item = new QListWidgetItem(name);
    item->setData(kFolderRole, folder);
    view_->addItem(item);
}

void DeckPlaylist::removeAt(int i) {
    delete entry(view_, i);
}

bool DeckPlaylist::isSelected(int i) const {
    return entry(view_, i)->isSelected();
}

} // namespace velmor
