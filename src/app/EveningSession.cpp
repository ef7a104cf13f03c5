#include "app/EveningSession.h"

#include "app/Main.h"
#include "common/BrowserLists.h"
#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "legacy/Error.h"
#include "playlist/PlaylistFiles.h"

#include <QDateTime>
#include <QFile>

namespace velmor {

EveningSession::~EveningSession() = default;

QString EveningSession::file() const {
    return folder_ + "/session";
}

void EveningSession::keepIn(const QString& folder) {
    folder_ = folder;
    writer_ = std::make_unique<SessionWriter>(file(), [this](const QString& failure) {
        QMetaObject::invokeMethod(
            this, [this, failure] { w_.reporter.notice(QString(kSessionNotKept).arg(failure)); },
            Qt::QueuedConnection);
    });
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { writeNow(false); });
}

void EveningSession::wire() {
    Controls& ui = w_.ui;
    auto watch = [this](QAbstractItemModel* model) {
        connect(model, &QAbstractItemModel::rowsInserted, this, [this] { changed(); });
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { changed(); });
        connect(model, &QAbstractItemModel::rowsMoved, this, [this] { changed(); });
        connect(model, &QAbstractItemModel::dataChanged, this, [this] { changed(); });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { changed(); });
    };
    for (int d = 0; d < kDecks; ++d) {
        watch(&w_.playlists.list(d));
        connect(ui.txtSet[d], &QLineEdit::textChanged, this, [this] { changed(); });
        connect(ui.txtSetSec[d], &QLineEdit::textChanged, this, [this] { changed(); });
    }
    watch(ui.dir->model()); // another folder fills the folder list anew
}

void EveningSession::changed() {
    if (!writer_ || timer_.isActive())
        return;
    const qint64 since = sinceWrite_.isValid() ? sinceWrite_.elapsed() : kLeastMsBetweenWrites;
    timer_.start(int(std::max<qint64>(0, kLeastMsBetweenWrites - since)));
}

SessionData EveningSession::snapshot(bool quit) const {
    SessionData session;
    session.quit = quit;
    session.folder = w_.ui.dir->Path();
    for (int d = 0; d < kDecks; ++d) {
        DeckPlaylist& list = w_.playlists.list(d);
        SessionDeck& deck = session.decks[d];
        deck.entries = list.tracks();
        deck.loaded = list.loaded();
        deck.cueMinutes = w_.ui.txtSet[d]->text();
        deck.cueSeconds = w_.ui.txtSetSec[d]->text();
    }
    return session;
}

void EveningSession::writeNow(bool quit) {
    if (!writer_ || asking_)
        return;
    QByteArray bytes = SessionToBytes(snapshot(quit));
    if (bytes == written_)
        return;
    written_ = bytes;
    sinceWrite_.start();
    writer_->write(std::move(bytes));
}

void EveningSession::EndByQuit() {
    timer_.stop();
    writeNow(true);
    if (writer_)
        writer_->flush();
}

void EveningSession::setAside(const QString& why) {
    const QString aside =
        file() + ".unreadable-" + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss");
    if (!QFile::rename(file(), aside)) {
        // Writing this evening would overwrite the last one, which nothing else holds.
        writer_.reset();
        return w_.reporter.notice(QString(kSessionNotSetAside).arg(DisplayName(file()), why));
    }
    w_.reporter.notice(QString(kSessionSetAside).arg(DisplayName(file()), why, aside));
}

void EveningSession::RestoreLastEvening() {
    if (!writer_ || KindOf(file()) == FileKind::Missing)
        return;
    SessionData last;
    try {
        last = SessionFromBytes(ReadPlaylistFile(file()));
    } catch (const std::exception& unreadable) {
        return setAside(DescriptionOf(unreadable));
    }
    // Until the user changes something, the file stays as it was: a No, or a crash before
    // anything changed, loses nothing yet.
    written_ = SessionToBytes(last);
    if (last.quit || last.empty())
        return;
    // Nor is it written while the question waits: a crash meanwhile loses nothing either.
    asking_ = true;
    // Return keeps the evening: a No by mistake would start the evening empty.
    const bool yes = w_.reporter.ask(kRestoreQuestion, Answer::Yes);
    asking_ = false;
    if (yes)
        trapped(w_.reporter, [&] { restore(last); });
}

// The lists as they were, each deck's entry loaded but not started, the entries whose files
// have gone marked as unplayable ones are.
void EveningSession::restore(const SessionData& session) {
    if (KindOf(session.folder) == FileKind::Folder)
        w_.browser.dir_Choose(session.folder);
    for (int d = 0; d < kDecks; ++d) {
        const SessionDeck& deck = session.decks[d];
        QList<ListEntry> entries;
        entries.reserve(deck.entries.size());
        for (const Track& track : deck.entries)
            entries.append({track, {}});
        w_.browser.entryChecks().append(w_.playlists.list(d), M3uEntries::Of(std::move(entries)));
        w_.ui.txtSet[d]->setText(deck.cueMinutes);
        w_.ui.txtSetSec[d]->setText(deck.cueSeconds);
        if (deck.loaded >= 0)
            w_.browser.LoadUnlessPlaying(d, deck.loaded);
    }
}

} // namespace velmor
