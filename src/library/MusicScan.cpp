#include "library/MusicScan.h"

#include "analysis/AnalysisCache.h"
#include "audio/PlayableTypes.h"
#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "common/Paths.h"
#include "library/TrackStore.h"

#include <QLocale>
#include <QSet>
#include <memory>

namespace velmor {

namespace {

// Rows written between commits: few enough that a search waits little for the write lock.
constexpr int kRowsPerTransaction = 500;

// A transaction renewed every few hundred writes, the rows staged flushed before each commit.
class Batches {
public:
    Batches(sqlite::Connection& connection, TrackStore& store)
        : connection_(connection), store_(store) {
        renew();
    }

    // After each write: commits and begins anew every few hundred; false on a failure.
    bool wrote() {
        if (++writes_ < kRowsPerTransaction)
            return true;
        return commit() && renew();
    }
    bool commit() { return store_.flush() && transaction_->commit(); }

private:
    bool renew() {
        writes_ = 0;
        transaction_ = std::make_unique<sqlite::Transaction>(connection_);
        return transaction_->begun();
    }
    sqlite::Connection& connection_;
    TrackStore& store_;
    std::unique_ptr<sqlite::Transaction> transaction_;
    int writes_ = 0;
};

bool Under(const QString& path, const QString& root) {
    const QString folder = root.endsWith(kSeparator) ? root : root + kSeparator;
    return path.startsWith(folder);
}

bool KnowsTracksUnder(const QHash<QString, KnownFile>& known, const QString& folder) {
    for (auto it = known.cbegin(); it != known.cend(); ++it)
        if (Under(it.key(), folder))
            return true;
    return false;
}

QString Plural(qint64 count, const char* one, const char* many) {
    return QLocale(QLocale::English).toString(count) + QChar(u' ') +
           QString::fromLatin1(count == 1 ? one : many);
}

} // namespace

QStringList PlayableExtensionNames() {
    QStringList names;
    for (const std::string& extension : audio::PlayableExtensions())
        names.append(QString::fromStdString(extension));
    return names;
}

ScanSummary ScanMusicFolders(sqlite::Connection& connection, const QStringList& folders,
                             const ScanTools& tools, const std::atomic<bool>& cancelled,
                             const std::function<void(qint64, qint64)>& progress) {
    ScanSummary summary;
    TrackStore store(connection);
    if (!store.valid()) {
        summary.failure = connection.error();
        return summary;
    }
    QHash<QString, KnownFile> known = store.knownFiles();
    QSet<qint64> kept;

    // Folders whose tracks are kept as they are but marked missing: the music folders not
    // there, those that came up empty where the library knows tracks (a stick's mount point
    // with nothing mounted), and folders that could not be read this time.
    QStringList absent;
    std::vector<FolderListing> listings;
    qint64 total = 0;
    for (const QString& folder : folders) {
        FolderListing listing;
        if (KindOf(folder) == FileKind::Folder)
            listing = ListMusicFiles(folder, tools.extensions, cancelled);
        if (listing.files.empty() && listing.passedOver.empty() &&
            (KindOf(folder) != FileKind::Folder || KnowsTracksUnder(known, folder))) {
            summary.missingFolders.append(folder);
            absent.append(folder);
            continue;
        }
        total += qint64(listing.files.size());
        for (PassedOver& over : listing.passedOver) {
            if (over.folder)
                absent.append(over.path);
            summary.passedOver.push_back(std::move(over));
        }
        listings.push_back(std::move(listing));
    }

    Batches batches(connection, store);
    const auto fail = [&] {
        summary.failure = connection.error();
        return summary;
    };
    for (auto it = known.cbegin(); it != known.cend(); ++it)
        for (const QString& folder : std::as_const(absent))
            if (Under(it.key(), folder)) {
                kept.insert(it->id);
                if (!it->missing && !(store.markMissing(it->id, true) && batches.wrote()))
                    return fail();
            }

    qint64 seen = 0;
    for (const FolderListing& listing : listings)
        for (const FoundFile& file : listing.files) {
            if (cancelled.load(std::memory_order_relaxed)) {
                summary.cancelled = true;
                break;
            }
            progress(++seen, total);
            const auto found = known.constFind(file.path);
            if (found != known.cend() && found->size == file.size &&
                found->modifiedMs == file.modifiedMs) {
                kept.insert(found->id);
                if (found->missing && !(store.markMissing(found->id, false) && batches.wrote()))
                    return fail();
                continue;
            }
            TrackRecord record{file.path, file.size, file.modifiedMs, tools.read(file.path), {}};
            ++summary.read;
            if (!record.tagged.readable) {
                summary.passedOver.push_back(
                    {file.path, QStringLiteral("it is not a sound file that can be read"), false});
                continue; // and a known one changed into this is dropped
            }
            if (tools.cache)
                if (const auto look = tools.cache->find(file.path, {file.size, file.modifiedMs}))
                    record.facts = look->facts;
            if (!store.stage(record) || !batches.wrote())
                return fail();
            if (found != known.cend())
                kept.insert(found->id);
        }

    if (cancelled.load(std::memory_order_relaxed))
        summary.cancelled = true;
    if (!summary.cancelled)
        for (const KnownFile& file : std::as_const(known))
            if (!kept.contains(file.id)) {
                if (!store.stageRemoval(file.id) || !batches.wrote())
                    return fail();
                ++summary.dropped;
            }
    if (!batches.commit())
        return fail();
    summary.tracks = store.count();
    return summary;
}

QString ScanSummaryText(const ScanSummary& summary) {
    QString text = Plural(summary.tracks, "track", "tracks");
    if (!summary.failure.isEmpty())
        text += QStringLiteral("; the library could not be written: ") + summary.failure;
    if (!summary.passedOver.empty()) {
        const auto files = std::count_if(summary.passedOver.begin(), summary.passedOver.end(),
                                         [](const PassedOver& over) { return !over.folder; });
        const qint64 folders = qint64(summary.passedOver.size()) - files;
        QStringList counts;
        if (files > 0)
            counts.append(Plural(files, "file", "files"));
        if (folders > 0)
            counts.append(Plural(folders, "folder", "folders"));
        constexpr size_t kNamed = 3;
        QStringList named;
        for (size_t i = 0; i < std::min(kNamed, summary.passedOver.size()); ++i) {
            const PassedOver& over = summary.passedOver[i];
            named.append(DisplayName(SplitPath(over.path).name) + QStringLiteral(" (") + over.why +
                         QChar(u')'));
        }
        if (summary.passedOver.size() > kNamed)
            named.append(QStringLiteral("\u2026"));
        text += QStringLiteral("; ") + counts.join(QStringLiteral(" and ")) +
                QStringLiteral(" could not be read: ") + named.join(QStringLiteral(", "));
    }
    if (!summary.missingFolders.isEmpty())
        text +=
            QStringLiteral("; ") +
            (summary.missingFolders.size() == 1 ? QStringLiteral("a music folder is not there: ")
                                                : QStringLiteral("%1 music folders are not there: ")
                                                      .arg(summary.missingFolders.size())) +
            summary.missingFolders.join(QStringLiteral(", "));
    return text;
}

} // namespace velmor
