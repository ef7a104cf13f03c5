#include "playlist/SessionFile.h"

#include "common/FileNames.h"
#include "legacy/Error.h"
#include "playlist/PlaylistFiles.h"

#include <QDir>
#include <QList>
#include <algorithm>
#include <pthread.h>

namespace velmor {

namespace {
const QByteArray kHeader = "velmor-session 1";

// A text as one word of the file: "=" and its bytes, percent-encoded.
QByteArray word(const QString& text) {
    return '=' + FileNameToBytes(text).toPercentEncoding();
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : lines_(bytes.split('\n')) {}

    QList<QByteArray> line(const char* first, qsizetype words) {
        if (at_ >= lines_.size())
            fail("the file ends early");
        QList<QByteArray> parts = lines_[at_++].split(' ');
        if (parts.size() != words || (first && parts[0] != first))
            fail("this line is not what was written");
        return parts;
    }
    QString text(const QByteArray& word) {
        if (!word.startsWith('='))
            fail("a text is not written as one");
        return FileNameFromBytes(QByteArray::fromPercentEncoding(word.mid(1)));
    }
    int number(const QByteArray& word, int lowest, int highest) {
        bool ok = false;
        const int n = word.toInt(&ok);
        if (!ok || n < lowest || n > highest)
            fail("a number is out of place");
        return n;
    }
    void end() {
        if (at_ != lines_.size() - 1 || !lines_.last().isEmpty())
            fail("there is more after its end");
    }
    [[noreturn]] void fail(const char* what) const {
        throw Error(QStringLiteral("line %1: %2").arg(at_).arg(QString::fromLatin1(what)));
    }

private:
    QList<QByteArray> lines_;
    qsizetype at_ = 0;
};
} // namespace

bool SessionData::empty() const {
    return std::all_of(decks.begin(), decks.end(),
                       [](const SessionDeck& deck) { return deck.entries.isEmpty(); });
}

QByteArray SessionToBytes(const SessionData& session) {
    QByteArray out = kHeader + '\n';
    out += QByteArray("quit ") + (session.quit ? "yes" : "no") + '\n';
    out += "folder " + word(session.folder) + '\n';
    qsizetype total = 0;
    for (int d = 0; d < kDecks; ++d) {
        const SessionDeck& deck = session.decks[d];
        out += "deck " + QByteArray::number(d + 1) + ' ' + QByteArray::number(deck.loaded) + ' ' +
               word(deck.cueMinutes) + ' ' + word(deck.cueSeconds) + ' ' +
               QByteArray::number(deck.entries.size()) + '\n';
        for (const Track& track : deck.entries)
            out += word(track.folder) + ' ' + word(track.name) + '\n';
        total += deck.entries.size();
    }
    return out + "end " + QByteArray::number(total) + '\n';
}

SessionData SessionFromBytes(const QByteArray& bytes) {
    Reader in(bytes);
    SessionData session;
    if (in.line(nullptr, 2).join(' ') != kHeader)
        in.fail("it is not a session file of this version");
    const QByteArray quit = in.line("quit", 2)[1];
    if (quit != "yes" && quit != "no")
        in.fail("the end of the evening is not told");
    session.quit = quit == "yes";
    session.folder = in.text(in.line("folder", 2)[1]);
    int total = 0;
    constexpr int kMostEntries = 10'000'000;
    for (int d = 0; d < kDecks; ++d) {
        const QList<QByteArray> head = in.line("deck", 6);
        in.number(head[1], d + 1, d + 1);
        SessionDeck& deck = session.decks[d];
        const int count = in.number(head[5], 0, kMostEntries);
        deck.loaded = in.number(head[2], -1, count - 1);
        deck.cueMinutes = in.text(head[3]);
        deck.cueSeconds = in.text(head[4]);
        deck.entries.reserve(count);
        for (int i = 0; i < count; ++i) {
            const QList<QByteArray> entry = in.line(nullptr, 2);
            deck.entries.append({in.text(entry[1]), in.text(entry[0])});
        }
        total += count;
    }
    in.number(in.line("end", 2)[1], total, total);
    in.end();
    return session;
}

QString SessionFolder() {
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (QDir::isAbsolutePath(state))
        return state + "/velmor";
    return QDir::homePath() + "/.local/state/velmor";
}

SessionWriter::SessionWriter(QString path, std::function<void(const QString&)> failed)
    : path_(std::move(path)), failed_(std::move(failed)), thread_([this] { run(); }) {}

SessionWriter::~SessionWriter() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void SessionWriter::write(QByteArray bytes) {
    {
        std::lock_guard lock(mutex_);
        waiting_ = std::move(bytes);
    }
    wake_.notify_all();
}

void SessionWriter::flush() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !waiting_ && !writing_; });
}

void SessionWriter::run() {
    pthread_setname_np(pthread_self(), "velmor session");
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || waiting_; });
        if (!waiting_)
            return; // quitting, with nothing left to write
        QByteArray bytes = std::move(*waiting_);
        waiting_.reset();
        writing_ = true;
        lock.unlock();
        QString failure;
        try {
            QDir().mkpath(QFileInfo(path_).absolutePath());
            SavePlaylistFile(path_, bytes);
        } catch (const Error& error) {
            failure = error.description();
        }
        lock.lock();
        writing_ = false;
        if (!failure.isEmpty() && !told_ && failed_)
            failed_(failure);
        told_ = !failure.isEmpty();
        done_.notify_all();
    }
}

} // namespace velmor
