#pragma once

#include "deck/Deck.h"
#include "deck/TrackName.h"
#include "deck/WindowContext.h"
#include "support/FakePlayer.h"
#include "support/RecordingReporter.h"

#include <QPersistentModelIndex>
#include <QStandardItemModel>
#include <gtest/gtest.h>

namespace velmor::test {

// A deck's playlist for the deck's own tests: full paths in a plain item model, the marks
// beside them, the loaded mark following its entry as the real list's does.
class TestEntries : public DeckEntries, public DeckLists {
public:
    int count() const override { return model.rowCount(); }
    QString name(int i) const override { return LoadedName(fullPath(i)); }
    QString fullPath(int i) const override { return model.item(i)->text(); }
    bool isUnplayable(int i) const override { return model.item(i)->data(kReason).isValid(); }
    void markUnplayable(int i, const QString& reason) override {
        model.item(i)->setData(reason, kReason);
    }
    void clearUnplayable(int i) override { model.item(i)->setData(QVariant(), kReason); }
    void setLoaded(int i) override {
        loadedAt = i < 0 ? QPersistentModelIndex() : QPersistentModelIndex(model.index(i, 0));
    }
    int loaded() const override { return loadedAt.isValid() ? loadedAt.row() : -1; }
    DeckEntries& list(int) override { return *this; }

    // Appends "/music/<name>" for each name.
    void add(const QStringList& names) {
        for (const QString& name : names)
            model.appendRow(new QStandardItem("/music/" + name));
    }
    void removeAt(int i) { model.removeRow(i); }
    void removeAll() { model.removeRows(0, model.rowCount()); }

    QStandardItemModel model;
    QPersistentModelIndex loadedAt;

private:
    static constexpr int kReason = Qt::UserRole;
};

// Deck 1 on the fake player, with a playlist of its own and no window.
struct DeckTest : ::testing::Test {
    DeckTest() { deck.follow(entries.model); }

    // The list, and its first entry loaded as adding loads it.
    void fill(const QStringList& names) {
        entries.add(names);
        load(0);
    }
    // Loads from `entry` on and waits until the player has opened it, or refused it and
    // what followed it.
    void load(int entry) {
        deck.load(entry);
        DeliverNotifications();
    }
    void act(void (Deck::*verb)()) {
        (deck.*verb)();
        DeliverNotifications();
    }
    void endTrack() {
        player.endTrack();
        DeliverNotifications();
    }

    RecordingReporter reporter;
    FakePlayer player;
    TestEntries entries;
    Deck deck{0, player, entries, reporter};
};

} // namespace velmor::test
