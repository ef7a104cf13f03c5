#include "app/Actions.h"

#include "common/Decks.h"
#include "mix/Crossfader.h"

#include <QKeySequence>
#include <algorithm>
#include <stdexcept>

namespace velmor {

void ActionTable::checkFree(const QString& id) const {
    if (forId(id) || faderForId(id))
        throw std::logic_error("two actions named " + id.toStdString());
}

void ActionTable::add(Action action) {
    checkFree(action.id);
    for (const Action& row : rows_) {
        if (action.key != 0 && row.key == action.key)
            throw std::logic_error("two actions on the key " + std::string(1, action.key));
        if (action.keys.key() != Qt::Key_unknown && row.keys == action.keys)
            throw std::logic_error("two actions on the keys " + KeyName(action).toStdString());
    }
    rows_.push_back(std::move(action));
}

const Action* ActionTable::forKey(int keyAscii) const {
    const int key = keyAscii >= 'A' && keyAscii <= 'Z' ? keyAscii - 'A' + 'a' : keyAscii;
    if (key <= 0)
        return nullptr;
    const auto row =
        std::find_if(rows_.begin(), rows_.end(), [key](const Action& a) { return a.key == key; });
    return row == rows_.end() ? nullptr : &*row;
}

const Action* ActionTable::forKeys(QKeyCombination keys) const {
    if (keys.key() == Qt::Key_unknown)
        return nullptr;
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [keys](const Action& a) { return a.keys == keys; });
    return row == rows_.end() ? nullptr : &*row;
}

const Action* ActionTable::forId(const QString& id) const {
    const auto row =
        std::find_if(rows_.begin(), rows_.end(), [&id](const Action& a) { return a.id == id; });
    return row == rows_.end() ? nullptr : &*row;
}

void ActionTable::addFader(Fader fader) {
    checkFree(fader.id);
    faders_.push_back(std::move(fader));
}

const Fader* ActionTable::faderForId(const QString& id) const {
    const auto row =
        std::find_if(faders_.begin(), faders_.end(), [&id](const Fader& f) { return f.id == id; });
    return row == faders_.end() ? nullptr : &*row;
}

QStringList ActionTable::ids() const {
    QStringList all;
    for (const Action& row : rows_)
        all << row.id;
    return all;
}

std::vector<const Action*> ActionTable::section(const QString& heading) const {
    std::vector<const Action*> listed;
    for (const Action& row : rows_)
        if (!heading.isEmpty() && row.section == heading)
            listed.push_back(&row);
    return listed;
}

QString KeyName(const Action& action) {
    if (action.keys.key() != Qt::Key_unknown)
        return QKeySequence(action.keys).toString(QKeySequence::PortableText);
    return QString("'%1'").arg(QChar(action.key));
}

QStringList DeckSections() {
    QStringList headings;
    for (int d = 0; d < kDecks; ++d)
        headings << QString("Deck %1 Main Controls").arg(d + 1);
    return headings;
}

namespace {

void addDeckActions(ActionTable& table, const ActionCalls& calls, int d) {
    // The rows of letters, one a deck: fade, play/pause, stop, mute.
    static const char* const kRows[kDecks] = {"qwer", "asdf", "tyui", "ghjk"};
    static const char kPrelistenKeys[] = "bnm,";
    const QString deck = QString("deck%1.").arg(d + 1);
    const QString number = QString::number(d + 1);
    const QString controls = DeckSections().at(d);
    table.add({deck + "fade", kRows[d][0], controls, "fade deck " + number,
               [f = calls.fade, d] { f(d); }});
    table.add({deck + "play_pause", kRows[d][1], controls, "play/pause deck " + number,
               [f = calls.playPause, d] { f(d); }});
    table.add({deck + "stop", kRows[d][2], controls, "stop deck " + number,
               [f = calls.stop, d] { f(d); }});
    table.add({deck + "mute", kRows[d][3], controls, "mute deck " + number,
               [f = calls.mute, d] { f(d); }});
    table.add({deck + "previous", 0, "", "previous track deck " + number,
               [f = calls.previous, d] { f(d); }});
    table.add({deck + "next", 0, "", "next track deck " + number, [f = calls.next, d] { f(d); }});
    const char* const percents[] = {"50", "100", "150", "200"};
    for (int speed = 0; speed < 4; ++speed)
        table.add({deck + "speed_" + percents[speed], 0, "",
                   QString("%1% speed deck %2").arg(percents[speed], number),
                   [f = calls.speed, d, speed] { f(d, speed); }});
    table.add({deck + "prelisten", kPrelistenKeys[d], kHeadphonesSection,
               "pre-listen deck " + number, [f = calls.prelisten, d] { f(d); }});
    table.add(
        {deck + "activate", 0, "", "activate deck " + number, [f = calls.activate, d] { f(d); }});
}

} // namespace

ActionTable MixerActions(const ActionCalls& calls) {
    ActionTable table;
    for (int d = 0; d < kDecks; ++d)
        addDeckActions(table, calls, d);
    // A digit acts on a deck and the one after it, the first to its end before the second.
    for (int d = 0; d < kDecks; ++d) {
        const int e = NextDeck(d);
        const QString pair = QString("decks%1_%2.").arg(d + 1).arg(e + 1);
        table.add({pair + "fade", char('1' + d), kFadePairsSection,
                   QString("fade decks %1 & %2").arg(d + 1).arg(e + 1), [f = calls.fade, d, e] {
                       f(d);
                       f(e);
                   }});
    }
    for (int d = 0; d < kDecks; ++d) {
        const int e = NextDeck(d);
        // The help window's own words; the key plays or pauses both decks, stopping neither.
        table.add({QString("decks%1_%2.play_pause").arg(d + 1).arg(e + 1), char('5' + d),
                   kPlayPairsSection,
                   QString("stop deck %1, play/pause deck %2").arg(d + 1).arg(e + 1),
                   [f = calls.playPause, d, e] {
                       f(d);
                       f(e);
                   }});
    }
    table.add({"crossfader.left", 'z', kCrossfaderSection, "Crossfader = 0",
               [f = calls.crossfader] { f(0); }});
    table.add({"crossfader.centre", 'x', kCrossfaderSection, "Crossfader = 50",
               [f = calls.crossfader] { f(50); }});
    table.add({"crossfader.right", 'c', kCrossfaderSection, "Crossfader = 100",
               [f = calls.crossfader] { f(100); }});
    table.add({"window.compress_expand", 'v', kOtherKeysSection, "\\/ or /\\ button",
               calls.compressExpand});
    table.add({"window.help", 0, "", "key assignments window", calls.help});
    table.add({"window.about", 0, "", "about Velmor", calls.about});
    table.add(
        {"window.audio_setup", 'o', kAudioSetupSection, "audio set-up window", calls.audioSetup});
    table.add({"library.open", 'l', kLibrarySection, "library window", calls.library});
    table.add(
        {"master.duck", 'p', kAnnouncementsSection, "voice over: music down / back", calls.duck});
    // Listed in one line of their own by the help window.
    for (int slot = 0; slot < kJingleSlots; ++slot)
        table.add({QString("jingle.%1").arg(slot + 1), 0, "",
                   QString("jingle %1 plays / stops").arg(slot + 1),
                   [f = calls.jingle, slot] { f(slot); }, Qt::Key(Qt::Key_F1 + slot)});
    table.add({"jingles.open", 0, kAnnouncementsSection, "jingles window", calls.jingles,
               Qt::ControlModifier | Qt::Key_J});
    // Never a single key pressed by mistake.
    table.add({"master.panic", 0, kAnnouncementsSection, "panic: all fade out in 3 s", calls.panic,
               Qt::ShiftModifier | Qt::Key_Escape});
    table.add({"recorder.toggle", 0, kRecordingSection, "record the main output / stop",
               calls.record, Qt::ControlModifier | Qt::Key_R});
    return table;
}

} // namespace velmor
