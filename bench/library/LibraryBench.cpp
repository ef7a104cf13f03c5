// Times the library in one run, each measure against its baseline in turns, best of several:
//   (a) each keystroke of "michael jackson beat" searched through LibrarySearch, against the
//       same MATCH query prepared and run bare with sqlite3, over 20,000 made-up tracks;
//   (b) a rescan of 20,000 unchanged files against walking their folders with a stat of each;
//   (c) a first scan of them against reading their tags with TagLib alone.
//
//   bench_library [data folder]   (the folder keeps the 20,000 small files; ./bench-data)

#include "library/LibraryDatabase.h"
#include "library/LibrarySearch.h"
#include "library/MusicScan.h"
#include "library/SearchExpression.h"
#include "library/TrackStore.h"
#include "support/AudioFixtures.h"
#include "support/TaggedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <sys/stat.h>
#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>
#include <vector>

using namespace velmor;

namespace {

constexpr int kTracks = 20000;
constexpr int kFolders = 100;

double Ms(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Each step timed `runs` times in turns with the other; the best of each, in ms.
std::pair<double, double> BestInTurns(int runs, const std::function<void()>& ours,
                                      const std::function<void()>& baseline) {
    double bestOurs = 1e300;
    double bestBaseline = 1e300;
    for (int i = 0; i < runs; ++i) {
        bestBaseline = std::min(bestBaseline, Ms(baseline));
        bestOurs = std::min(bestOurs, Ms(ours));
    }
    return {bestOurs, bestBaseline};
}

// Made-up names from syllables, so that prefixes match a realistic share of the tracks.
QString Name(unsigned seed, int words) {
    static const char* const kSyllables[] = {
        "ma",  "mi",    "chael", "ja",  "son", "be",  "at", "lo",   "ve", "ra", "ko", "di",
        "sco", "night", "fe",    "ver", "da",  "nce", "su", "mmer", "ro", "ck", "el", "tri"};
    QStringList parts;
    for (int w = 0; w < words; ++w) {
        QString word;
        for (int s = 0; s < 2 + int(seed % 2); ++s) {
            seed = seed * 1664525u + 1013904223u;
            word += QString::fromLatin1(kSyllables[(seed >> 16) % 24]);
        }
        word[0] = word[0].toUpper();
        parts.append(word);
    }
    return parts.join(' ');
}

void SearchBench(const QString& folder) {
    const QString path = folder + "/library.sqlite";
    QFile::remove(path);
    LibraryDatabase database(path);
    {
        TrackStore store(database.connection());
        sqlite::Transaction transaction(database.connection());
        for (int i = 0; i < kTracks; ++i) {
            TrackRecord record;
            record.path = QString("/music/%1/%2.mp3").arg(i % kFolders).arg(i);
            record.tagged.readable = true;
            record.tagged.tags.artist = i == 777 ? "Michael Jackson" : Name(unsigned(i) / 7, 2);
            record.tagged.tags.title = i == 777 ? "Beat It" : Name(unsigned(i) * 31 + 5, 3);
            record.tagged.tags.album = Name(unsigned(i) / 12 + 99, 2);
            record.tagged.seconds = 200;
            store.write(record);
        }
        transaction.commit();
    }
    LibrarySearch search(database.connection());
    sqlite3* bare = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &bare, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql =
        "SELECT t.id, t.path, t.name, t.artist, t.title, t.album, t.seconds, t.bpm, t.missing "
        "FROM tracks_search JOIN tracks t ON t.id = tracks_search.rowid WHERE tracks_search "
        "MATCH ?1 ORDER BY tracks_search.rank, t.artist COLLATE NOCASE, t.title COLLATE NOCASE "
        "LIMIT 500";

    const QString typed = "michael jackson beat";
    double worstMs = 0;
    double worstRatio = 0;
    std::printf("(a) keystroke            found  ours ms  bare ms  ratio\n");
    for (int length = 1; length <= typed.size(); ++length) {
        const QString prefix = typed.left(length);
        if (prefix.endsWith(' '))
            continue;
        const QByteArray expression = SearchExpression(prefix).toUtf8();
        size_t found = 0;
        const auto [ours, baseline] = BestInTurns(
            7, [&] { found = search.search(prefix).size(); },
            [&] {
                sqlite3_stmt* statement = nullptr;
                sqlite3_prepare_v2(bare, sql.constData(), int(sql.size()), &statement, nullptr);
                sqlite3_bind_text(statement, 1, expression.constData(), int(expression.size()),
                                  SQLITE_STATIC);
                while (sqlite3_step(statement) == SQLITE_ROW)
                    for (int c = 0; c < 9; ++c)
                        sqlite3_column_text(statement, c);
                sqlite3_finalize(statement);
            });
        std::printf("    %-20s %6zu %8.2f %8.2f %6.2f\n", qPrintable(prefix), found, ours, baseline,
                    ours / baseline);
        worstMs = std::max(worstMs, ours);
        worstRatio = std::max(worstRatio, ours / baseline);
    }
    sqlite3_close(bare);
    std::printf("(a) worst keystroke: %.2f ms (target < 30), worst ratio %.2f (target <= 3)\n\n",
                worstMs, worstRatio);
}

QString MakeFiles(const QString& folder) {
    const QString files = folder + "/library-files";
    const QString last = QString("%1/%2/%3.wav").arg(files).arg(kFolders - 1).arg(kTracks - 1);
    if (QFileInfo::exists(last))
        return files;
    std::printf("Making %d small tagged WAVs in %s...\n", kTracks, qPrintable(files));
    const QString model = folder + "/model.wav";
    test::WriteWav(model.toStdString(), test::Tone(440, 0.05, 8000), 8000, 1);
    test::WriteTags(model.toStdString(), {{"ARTIST", "Michael Jackson"},
                                          {"TITLE", "Beat It"},
                                          {"ALBUM", "Thriller"},
                                          {"GENRE", "Pop"},
                                          {"DATE", "1982"}});
    for (int i = 0; i < kTracks; ++i) {
        const QString sub = QString("%1/%2").arg(files).arg(i % kFolders);
        QDir().mkpath(sub);
        QFile::copy(model, QString("%1/%2.wav").arg(sub).arg(i));
    }
    return files;
}

// The files' listing as the operating system gives it: readdir and a stat of each.
size_t Listing(const std::string& folder) {
    size_t files = 0;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    std::vector<std::string> subfolders;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string child = folder + "/" + entry->d_name;
        struct stat info {};
        if (stat(child.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            subfolders.push_back(child);
        else
            ++files;
    }
    closedir(dir);
    for (const std::string& sub : subfolders)
        files += Listing(sub);
    return files;
}

void ScanBenches(const QString& folder) {
    const QString files = MakeFiles(folder);
    const ScanTools tools;
    const std::atomic<bool> cancelled{false};
    const auto none = [](qint64, qint64) {};
    std::vector<std::string> paths;
    for (int i = 0; i < kTracks; ++i)
        paths.push_back(QString("%1/%2/%3.wav").arg(files).arg(i % kFolders).arg(i).toStdString());

    const QString path = folder + "/scan.sqlite";
    qint64 tracks = 0;
    size_t sink = 0; // what TagLib read, so that the reading is not optimised away
    const auto [first, tagLib] = BestInTurns(
        3,
        [&] {
            for (const char* end : {"", "-wal", "-shm"})
                QFile::remove(path + end);
            LibraryDatabase database(path);
            tracks =
                ScanMusicFolders(database.connection(), {files}, tools, cancelled, none).tracks;
        },
        [&] {
            for (const std::string& file : paths) {
                const TagLib::FileRef ref(file.c_str(), true, TagLib::AudioProperties::Fast);
                if (!ref.isNull() && ref.audioProperties())
                    sink += ref.file()->properties().size() +
                            size_t(ref.audioProperties()->lengthInMilliseconds());
            }
        });
    std::printf("(c) first scan of %lld files: %.0f ms; TagLib alone: %.0f ms; ratio %.2f "
                "(target <= 1.5)\n",
                tracks, first, tagLib, first / tagLib);
    std::printf("    (TagLib read %zu properties and milliseconds)\n", sink);

    // Where the rest goes: the same first scan with every file's tags given, not read.
    ScanTools given = tools;
    const TaggedTrack tagged = ReadTaggedTrack(QString::fromStdString(paths.front()));
    given.read = [&tagged](const QString&) { return tagged; };
    const double written = Ms([&] {
        for (const char* end : {"", "-wal", "-shm"})
            QFile::remove(path + end);
        LibraryDatabase database(path);
        ScanMusicFolders(database.connection(), {files}, given, cancelled, none);
    });
    std::printf("    the same scan with the tags given, not read: %.0f ms\n", written);

    LibraryDatabase database(path);
    size_t listed = 0;
    const auto [rescan, listing] = BestInTurns(
        5, [&] { ScanMusicFolders(database.connection(), {files}, tools, cancelled, none); },
        [&] { listed = Listing(files.toStdString()); });
    std::printf("(b) rescan of %zu unchanged files: %.1f ms; readdir and stat: %.1f ms; ratio "
                "%.2f (target <= 3)\n",
                listed, rescan, listing, rescan / listing);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("bench-data");
    QDir().mkpath(folder);
    SearchBench(folder);
    ScanBenches(folder);
    return 0;
}
