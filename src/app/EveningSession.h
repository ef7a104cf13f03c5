#pragma once

#include "playlist/SessionFile.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>

namespace velmor {

class Main;

// The evening that survives a restart: the four playlists, the entry in each deck, the cue
// times and the browser's folder, kept in the state folder after every change (at most twice
// a second, written on a thread of its own), and marked when the user quits. At the next
// start, an evening that did not end by the user's own quit is offered back.
class EveningSession : public QObject {
public:
    static constexpr int kLeastMsBetweenWrites = 500;

    explicit EveningSession(Main& window) : w_(window) {}
    ~EveningSession() override;

    // Keeps the session in `folder` from now on; nothing is kept without one.
    void keepIn(const QString& folder);
    // Watches the lists, the cue boxes and the folder list for changes.
    void wire();
    // At start-up, once the window shows: offers the last evening back when it did not end by
    // the user's quit. A session file that cannot be read is told and set aside.
    void RestoreLastEvening();
    // The user quits: the session is written now, marked so.
    void EndByQuit();

    QString file() const;

private:
    void changed();
    void writeNow(bool quit);
    SessionData snapshot(bool quit) const;
    void restore(const SessionData& session);
    void setAside(const QString& why);

    Main& w_;
    QString folder_;
    std::unique_ptr<SessionWriter> writer_;
    QTimer timer_;
    QElapsedTimer sinceWrite_;
    QByteArray written_; // the bytes of the latest write
    bool asking_ = false;
};

inline const char* const kRestoreQuestion = "Restore the last evening's playlists?";
inline const char* const kSessionSetAside =
    "The last evening's playlists could not be read (%1, %2): the file was set aside as %3.";
inline const char* const kSessionNotSetAside =
    "The last evening's playlists could not be read (%1, %2), nor set aside: the file stays as "
    "it is, and this evening's playlists are not kept.";
inline const char* const kSessionNotKept = "The evening's playlists cannot be kept: %1";

} // namespace velmor
