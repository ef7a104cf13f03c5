#pragma once

#include <QString>

class QListWidget;

namespace velmor {

// One deck's playlist: the file names the deck's list shows and, at the same positions,
// their folders. Both live in the same list item, and every change goes through here, so
// the names and the folders can never drift apart.
class DeckPlaylist {
public:
    explicit DeckPlaylist(QListWidget* view) : view_(view) {}

    int count() const;
    QString name(int i) const;
    QString folder(int i) const;
    // The folder and the name joined by the platform's separator.
    QString fullPath(int i) const;

    void append(const QString& name, const QString& folder);
    void removeAt(int i);
    bool isSelected(int i) const;

    QListWidget* view() const { return view_; }

private:
    QListWidget* view_;
};

} // namespace velmor
