// Times adding a big folder, reading big M3U files and "Delete All" through the real window,
// each against a baseline measured in the same run, and reports the longest single step.

#include "common/BrowserLists.h"
#include "deck/player/PlayableTypes.h"
#include "playlist/EntryChecks.h"
#include "playlist/M3u.h"
#include "playlist/PlaylistFiles.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace velmor;
using namespace velmor::test;

namespace {
constexpr int kRuns = 5;
double longestStep = 0;
const char* longestName = "";

// One step as the user meets it: the handler and the window's work it leaves queued.
double timeStep(const char* name, const std::function<void()>& step) {
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::processEvents();
    const double ms = clock.nsecsElapsed() / 1e6;
    if (ms > longestStep) {
        longestStep = ms;
        longestName = name;
    }
    return ms;
}

constexpr int kReaderRuns = 31;

double threadMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// A pure step, in the processor time of this thread (the kernel's copying of the file
// included): on a machine shared with other builds the wall clock counts their turns too.
double timePure(const std::function<void()>& step) {
    const double start = threadMs();
    step();
    return threadMs() - start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void makeFiles(const QString& folder, int count) {
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QFile file(QString("%1/track %2.mp3").arg(folder).arg(i, 5, 10, QChar('0')));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the benchmark's files");
    }
}

void writeM3u(const QString& path, int lines) {
    QByteArray bytes = "#EXTM3U\r\n";
    for (int i = 0; i < lines; ++i) {
        if (i % 10 == 0)
            bytes += "#EXTINF:215,Some Artist - Some Title\r\n";
        bytes += QString("/music/album %1/track %2.mp3\r\n").arg(i / 12).arg(i).toUtf8();
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the benchmark's playlist");
}

// A list as other players write it: a header, an #EXTINF line before every entry, LF line
// ends, entries relative to the list's folder.
void writeForeignM3u(const QString& path, int entries) {
    QByteArray bytes = "#EXTM3U\n";
    for (int i = 0; i < entries; ++i) {
        bytes += QString("#EXTINF:%1,Some Artist %2 - Some Title %3\n")
                     .arg(180 + i % 120)
                     .arg(i / 12)
                     .arg(i)
                     .toUtf8();
        bytes += QString("big/track %1.mp3\n").arg(i, 5, 10, QChar('0')).toUtf8();
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the benchmark's playlist");
}

void report(const char* what, double measured, const char* against, double baseline, double limit) {
    const double ratio = measured / baseline;
    std::printf("%-34s %9.2f ms | %-30s %8.2f ms | ratio %6.2f (limit %4.1f) %s\n", what, measured,
                against, baseline, ratio, limit, ratio <= limit ? "ok" : "OVER");
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString big = tmp.filePath("big");
    makeFiles(big, 10000);
    const QString lists = tmp.filePath("lists");
    QDir().mkpath(lists);
    writeM3u(lists + "/huge.m3u", 100000);
    const QString foreign = tmp.filePath("foreign.m3u"); // beside big/, whose files it names
    writeForeignM3u(foreign, 10000);

    TestWindow t;
    Main& w = t.w();
    w.show();
    w.browser.dir_Choose(big);
    std::vector<double> listing, adding, deleting, browsing;
    for (int run = 0; run < kRuns; ++run) {
        listing.push_back(timeStep("list", [&] {
            QDir dir(big, "*.mp3;*.m3u;*.wav", QDir::Unsorted, QDir::Files);
            if (dir.entryList().size() != 10000)
                qFatal("listing went wrong");
        }));
        browsing.push_back(timeStep("browse to the folder", [&] { w.browser.dir_Choose(big); }));
        adding.push_back(timeStep("Add Folder", [&] { w.browser.cmdOKCarpeta_Click(); }));
        if (w.playlists.list(0).count() != 10000)
            qFatal("adding went wrong");
        deleting.push_back(timeStep("Delete All", [&] { w.playlists.cmdBorrarTodo_Click(); }));
    }

    std::vector<double> splitting, reading, settling, deletingHuge, saving;
    w.browser.dir_Choose(lists);
    for (int run = 0; run < kRuns; ++run) {
        splitting.push_back(timeStep("split", [&] {
            if (M3uLines(ReadPlaylistFile(lists + "/huge.m3u")).size() < 100000)
                qFatal("splitting went wrong");
        }));
        reading.push_back(timeStep("add a 100,000-line M3U", [&] {
            w.ui.fil->item(0)->setSelected(true);
            w.browser.cmdOK_Click();
        }));
        if (w.playlists.list(0).count() != 100000)
            qFatal("reading went wrong");
        // The tracks do not exist: the worker looks the rest up and the window marks them,
        // finished here so that the next step is timed alone.
        settling.push_back(timeStep("look up and mark the rest of the 100,000",
                                    [&] { w.browser.entryChecks().waitUntilDone(); }));
        if (!w.playlists.list(0).isUnplayable(99999))
            qFatal("marking went wrong");
        saving.push_back(timeStep("save 100,000 entries", [&] {
            w.savePanel.cmdGuardarComo_Click();
            w.ui.txtNomArch->setText("saved");
            w.savePanel.cmdGuardar_Click();
        }));
        deletingHuge.push_back(
            timeStep("Delete All of 100,000", [&] { w.playlists.cmdBorrarTodo_Click(); }));
    }
    // Reading a list: its bytes decoded, split into lines and placed against its folder. The
    // entries are looked up on the disk afterwards, in the window for a moment and the rest on
    // a worker: timed on their own, and as a whole through the window.
    std::vector<double> bytesOnly, readingList, lookingUp, addingForeign;
    const M3uSource source{tmp.path(), false, PlayableExtensions()};
    M3uEntries entries;
    w.browser.dir_Choose(tmp.path());
    // The reader is a pure function: timed by itself, many times in turns with its
    // baseline, without the window's event loop.
    for (int run = 0; run < kReaderRuns; ++run) {
        bytesOnly.push_back(timePure([&] {
            if (ReadPlaylistFile(foreign).size() < 10000 * 40)
                qFatal("reading went wrong");
        }));
        readingList.push_back(
            timePure([&] { entries = ReadM3u(ReadPlaylistFile(foreign), source); }));
        if (entries.size() != 10000)
            qFatal("the list's entries went wrong");
    }
    for (int run = 0; run < kRuns; ++run) {
        lookingUp.push_back(timeStep("look 10,000 entries up", [&] {
            for (qsizetype i = 0; i < entries.size(); ++i)
                if (!ResolveEntry(entries.at(i), EntryChecks::Exists).found)
                    qFatal("an entry was not found");
        }));
        addingForeign.push_back(timeStep("add the 10,000-entry list", [&] {
            w.ui.fil->clearSelection();
            w.ui.fil->findItems("foreign.m3u", Qt::MatchExactly).first()->setSelected(true);
            w.browser.cmdOK_Click();
        }));
        w.browser.entryChecks().waitUntilDone();
        if (w.playlists.list(0).count() != 10000 || w.playlists.list(0).isUnplayable(9999))
            qFatal("adding the list went wrong");
        w.playlists.cmdBorrarTodo_Click();
    }
    if (!t.reporter.empty())
        qFatal("the window reported: %s", qPrintable(t.reporter.last().text));

    std::printf(
        "median of %d runs each (the reader and its bytes: %d runs in turns, thread time)\n", kRuns,
        kReaderRuns);
    report("Add Folder, 10,000 files", median(adding), "listing the folder", median(listing), 5);
    report("add an M3U of 100,000 tracks", median(reading), "reading + splitting into lines",
           median(splitting), 10);
    report("read a 10,000-entry list", median(readingList), "reading its bytes", median(bytesOnly),
           5);
    report("look its 10,000 entries up", median(lookingUp), "reading its bytes", median(bytesOnly),
           1000);
    report("Delete All, 10,000 entries", median(deleting), "adding them", median(adding), 1);
    std::printf("%-34s %9.2f ms\n", "browse to the 10,000-file folder", median(browsing));
    std::printf("%-34s %9.2f ms\n", "  then looking up, marking the rest", median(settling));
    std::printf("%-34s %9.2f ms\n", "save 100,000 entries", median(saving));
    std::printf("%-34s %9.2f ms\n", "add the 10,000-entry list (window)", median(addingForeign));
    std::printf("%-34s %9.2f ms\n", "Delete All, 100,000 entries", median(deletingHuge));
    std::printf("longest single step: %.2f ms (%s)\n", longestStep, longestName);
    return 0;
}
