#pragma once

#include "common/Decks.h"
#include "common/Paths.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace velmor {

// What the evening's session keeps of one deck.
struct SessionDeck {
    QList<Track> entries;
    int loaded = -1; // the entry in the deck, -1 for none
    QString cueMinutes = "0", cueSeconds = "0";
    bool operator==(const SessionDeck&) const = default;
};

// The evening as the session file keeps it: the four playlists, the browser's folder, and
// whether the evening ended by the user's own quit.
struct SessionData {
    bool quit = false;
    QString folder;
    std::array<SessionDeck, kDecks> decks;
    bool operator==(const SessionData&) const = default;
    bool empty() const;
};

// The session file's bytes. Every text is kept byte for byte, the bytes of file names as
// the file system gave them (see FileNames.h); a last line counts the entries, so that a
// file cut short is told from a whole one.
QByteArray SessionToBytes(const SessionData& session);
// Throws Error saying where, when the bytes are no whole session file.
SessionData SessionFromBytes(const QByteArray& bytes);

// $XDG_STATE_HOME/velmor, or ~/.local/state/velmor without it.
QString SessionFolder();

// Writes the latest bytes it was given to a file, atomically (a new file takes the old
// one's place), on a thread of its own: a slow disk never holds up the window. A failure is
// told through `failed`, on the writer's thread, once until a write succeeds again.
class SessionWriter {
public:
    SessionWriter(QString path, std::function<void(const QString&)> failed);
    ~SessionWriter(); // writes what is still waiting first
    SessionWriter(const SessionWriter&) = delete;
    SessionWriter& operator=(const SessionWriter&) = delete;

    void write(QByteArray bytes);
    // Returns once everything given has been written (or failed).
    void flush();

private:
    void run();

    const QString path_;
    const std::function<void(const QString&)> failed_;
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::optional<QByteArray> waiting_;
    bool writing_ = false, quit_ = false, told_ = false;
    std::thread thread_;
};

} // namespace velmor
