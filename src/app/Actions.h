#pragma once

#include <QKeyCombination>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace velmor {

// One thing a person can make Velmor do, by a key, a click or (later) a controller.
struct Action {
    // Stable, for mappings kept on disk: "deck1.play_pause", "crossfader.left".
    QString id;
    // The key that triggers it, a lower-case letter, a digit or a sign; 0 for none.
    char key = 0;
    // The help window's heading it is listed under ("" for an action it does not list), and
    // its words there.
    QString section;
    QString help;
    std::function<void()> call;
    // A key without a character (F1, Shift+Esc), in place of `key`; none by default.
    QKeyCombination keys{};
};

// What a control moves over a range rather than presses (a deck's volume, the crossfader,
// the headphones' level and blend): its id beside the actions', its range, where it stands.
struct Fader {
    QString id;
    QString help;
    int minimum = 0;
    int maximum = 100;
    std::function<int()> value;
    std::function<void(int)> set;
};

// Every action of the window, each in one row: the keyboard looks its keys up here, the help
// window lists its rows, a controller maps onto its ids.
class ActionTable {
public:
    // Adds a row; ids and keys are each taken once.
    void add(Action action);

    // The action of a typed character, or null: letters in either case, every other
    // character as it is (a shifted digit is not its digit).
    const Action* forKey(int keyAscii) const;
    // The action of a key without a character, or null.
    const Action* forKeys(QKeyCombination keys) const;
    const Action* forId(const QString& id) const;
    // In the order the rows were added.
    const std::vector<Action>& rows() const { return rows_; }
    // Adds a fader; its id is taken once, by an action or a fader.
    void addFader(Fader fader);
    const Fader* faderForId(const QString& id) const;
    const std::vector<Fader>& faders() const { return faders_; }
    QStringList ids() const;
    // The rows the help window lists under a heading, in order.
    std::vector<const Action*> section(const QString& heading) const;

private:
    void checkFree(const QString& id) const;
    std::vector<Action> rows_;
    std::vector<Fader> faders_;
};

// What the actions call, one entry per command of the window; each traps its own failures,
// so that the second command of a two-deck key still gets its turn.
struct ActionCalls {
    std::function<void(int deck)> fade;
    std::function<void(int deck)> playPause;
    std::function<void(int deck)> stop;
    std::function<void(int deck)> mute;
    std::function<void(int deck)> previous;
    std::function<void(int deck)> next;
    // The speed buttons, 0..3 for 50%, 100%, 150%, 200%.
    std::function<void(int deck, int speed)> speed;
    std::function<void(int deck)> prelisten;
    std::function<void(int deck)> activate;
    // Sets the crossfader's position, 0..100; its change applies it as a move by the user.
    std::function<void(int position)> crossfader;
    std::function<void()> compressExpand;
    std::function<void()> help;
    std::function<void()> about;
    std::function<void()> audioSetup;
    std::function<void()> library;
    std::function<void()> record;
    // The voice over the music: the main mix dipped, or back.
    std::function<void()> duck;
    // Jingle slot 0..11 played, or stopped when it plays.
    std::function<void(int slot)> jingle;
    std::function<void()> jingles; // their window
    // Everything heard faded out and stopped; pressed again, stopped at once.
    std::function<void()> panic;
};

// The help window's headings, in the order of its columns.
QStringList DeckSections();
inline const char* const kFadePairsSection = "Auto CrossFading";
inline const char* const kPlayPairsSection = "Track Skipping between Decks";
inline const char* const kCrossfaderSection = "Crossfader Settings";
inline const char* const kOtherKeysSection = "Other Keys";
inline const char* const kHeadphonesSection = "Headphones";
inline const char* const kAudioSetupSection = "Audio Set-up";
inline const char* const kLibrarySection = "Library";
inline const char* const kRecordingSection = "Recording";
inline const char* const kAnnouncementsSection = "Announcements";
inline constexpr int kJingleSlots = 12;

// How the help window names an action's key: 'p', F1, Shift+Esc.
QString KeyName(const Action& action);

// Velmor's actions with their keys and words, calling `calls`.
ActionTable MixerActions(const ActionCalls& calls);

} // namespace velmor
