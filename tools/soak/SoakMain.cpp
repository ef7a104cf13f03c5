// velmor-soak: the real window on the real engine, over the silent output that keeps real
// time, with four decks playing lists of short tracks while a seeded random sequence of key
// presses and clicks fades, crossfades, mutes, pauses and changes speeds. It checks that
// every deck played its list in order to the end, that memory did not grow, and that the
// engine never ran dry. See README beside this file.

#include "app/Application.h"
#include "app/Main.h"
#include "audio/Engine.h"
#include "audio/NullOutput.h"
#include "common/ScaledStyle.h"
#include "library/MusicFolders.h"
#include "soak/Session.h"
#include "soak/Tracks.h"
#include "soak/Verdict.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

using namespace velmor;

namespace {

class CollectingReporter : public Reporter {
public:
    void show(const QString& text, const QString&, Icon) override { messages << text; }
    QStringList messages;
};

soak::Settings ReadSettings(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays four decks through their lists under random "
                                     "key presses and checks order, memory and underruns.");
    parser.addHelpOption();
    const QCommandLineOption seconds("seconds", "How long the presses go on.", "seconds", "40");
    const QCommandLineOption seed("seed", "Seed of the sequence of presses.", "seed", "1");
    const QCommandLineOption tracks("tracks", "Tracks in each deck's list.", "count", "50");
    const QCommandLineOption finish("finish", "Time the decks then have to end their lists.",
                                    "seconds", "20");
    const QCommandLineOption library("library", "Files in the music library scanned meanwhile.",
                                     "count", "20000");
    parser.addOptions({seconds, seed, tracks, finish, library});
    parser.process(app);
    soak::Settings settings;
    bool ok[5];
    settings.seconds = parser.value(seconds).toInt(&ok[0]);
    settings.seed = parser.value(seed).toUInt(&ok[1]);
    settings.tracks = parser.value(tracks).toInt(&ok[2]);
    settings.finishSeconds = parser.value(finish).toInt(&ok[3]);
    settings.libraryFiles = parser.value(library).toInt(&ok[4]);
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || !ok[4] || settings.seconds < 3 ||
        settings.tracks < 2 || settings.tracks > 999 || settings.finishSeconds < 1 ||
        settings.libraryFiles < 0) {
        std::fprintf(stderr, "velmor-soak: --seconds takes 3 or more, --tracks 2 to 999, "
                             "--finish 1 or more, --library 0 or more, --seed a whole "
                             "number\n");
        std::exit(2);
    }
    return settings;
}

void Say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    Application::setStyle(new velmor::ScaledStyle);
    const soak::Settings settings = ReadSettings(app);
    QElapsedTimer wall;
    wall.start();

    QTemporaryDir dir;
    const bool mp3 = soak::CanEncodeMp3();
    std::array<QString, kDecks> folders;
    try {
        for (int d = 0; d < kDecks; ++d) {
            folders[d] = QDir::toNativeSeparators(dir.filePath(QString("Deck %1").arg(d + 1)));
            soak::WriteTracks(folders[d], d, settings.tracks, mp3);
        }
        soak::WriteLibrary(dir.filePath("Library"), QDir(folders[0]).filePath("01 Deck 1.wav"),
                           settings.libraryFiles);
    } catch (const std::exception& e) {
        Say(QString("velmor-soak: %1").arg(e.what()));
        return 2;
    }
    Say(QString("velmor-soak: seed %1, %2 s of presses, %3 decks of %4 tracks (%5), a library "
                "of %6 files scanned meanwhile")
            .arg(settings.seed)
            .arg(settings.seconds)
            .arg(kDecks)
            .arg(settings.tracks)
            .arg(mp3 ? "MP3 and WAV" : "WAV only: lame is missing")
            .arg(settings.libraryFiles));

    const qint64 writtenMs = wall.elapsed();
    CollectingReporter reporter;
    app.setReporter(&reporter);
    // Both outputs: the main one, and headphones on a device of their own, each keeping time
    // by its own clock, with 256-frame buffers.
    audio::Engine engine(std::make_unique<audio::NullOutput>(48000, 256));
    const std::string phones =
        engine.routeHeadphones(audio::HeadphoneRoute::SecondDevice, [](int rate) {
            return std::make_unique<audio::NullOutput>(rate, 256);
        });
    if (!phones.empty()) {
        Say(QString("velmor-soak: no headphone output: %1").arg(phones.c_str()));
        return 2;
    }
    std::array<soak::WatchedPlayer*, kDecks> players{};
    MainOptions options;
    options.reporter = &reporter;
    options.screenHeightTwips = 11520;
    options.createPlayer = [&](int d, QObject* parent) {
        return players[d] = new soak::WatchedPlayer(engine, d, parent);
    };
    MasterLevelsReader master([&engine] { return &engine; });
    options.masterLevels = [&master] { return master.take(); };

    QStringList faults;
    long settledKb = -1, endKb = -1;
    {
        Main w(options);
        if (!w.Form_Load())
            return 2;
        w.show();
        w.activateWindow();
        if (!QTest::qWaitForWindowActive(&w))
            faults << "the window never became active";
        soak::Session session(w, players, settings);
        session.fillDecks(folders);
        // The library's scan runs beside the decks: the first one reads every file, and a
        // rescan every five seconds looks them all over again.
        QTimer rescans;
        if (settings.libraryFiles > 0) {
            WriteMusicFolders(dir.filePath("library.conf"), {dir.filePath("Library")}, nullptr);
            w.library.start(dir.filePath("library.sqlite"), dir.filePath("library.conf"));
            QObject::connect(&rescans, &QTimer::timeout, [&w] { w.library.rescan(); });
            rescans.start(5000);
        }
        for (int d : {0, 1}) // two decks in the headphones from the start
            w.panels[d]->cmdPrelisten_Click();
        for (int d = 0; d < kDecks; ++d)
            if (w.playlists.list(d).count() != settings.tracks)
                faults << QString("Deck %1: Add Folder gave %2 entries")
                              .arg(d + 1)
                              .arg(w.playlists.list(d).count());
        if (faults.isEmpty() && !session.run())
            faults << "the decks did not all reach the end of their lists in time";
        endKb = soak::ResidentKb();
        settledKb = session.settledKb();

        for (int d = 0; d < kDecks; ++d) {
            const soak::DeckRun& run = session.deck(d);
            const DeckPlaylist& list = w.playlists.list(d);
            const bool onLast = list.count() > 0 && w.decks[d]->trackNumber() == list.count() &&
                                w.pla[d]->FileName() == list.fullPath(list.count() - 1);
            const bool stopped = w.pla[d]->PlayState() == MediaPlayer::Stopped;
            QStringList passes;
            for (double seconds : run.passSeconds)
                passes << QString::number(seconds, 'f', 1) + " s";
            Say(QString("Deck %1: %2 passes (%3), on entry %4 of %5, %6")
                    .arg(d + 1)
                    .arg(run.rounds.size())
                    .arg(passes.join(", "))
                    .arg(w.decks[d]->trackNumber())
                    .arg(list.count())
                    .arg(stopped ? "stopped" : "not stopped"));
            for (const QString& failure : run.failures)
                faults << QString("Deck %1: %2").arg(d + 1).arg(failure);
            if (!onLast || !stopped)
                faults << QString("Deck %1 did not end stopped on its last entry").arg(d + 1);
        }
        Say(QString("presses %1, clicks %2").arg(session.presses()).arg(session.clicks()));
        if (settings.libraryFiles > 0) {
            w.library.waitForScan();
            Say("library: " + w.library.scanText());
            if (!w.library.scanText().startsWith(
                    QLocale(QLocale::English).toString(settings.libraryFiles) + " track"))
                faults << "the library did not scan its files";
        }
    }

    const QString memory = soak::JudgeMemory(settledKb, endKb, 0.10);
    Say(QString("memory: %1 kB settled, %2 kB at the end").arg(settledKb).arg(endKb));
    if (!memory.isEmpty())
        faults << memory;
    Say(QString("underruns: %1, of the headphones: %2")
            .arg(engine.underruns())
            .arg(engine.headphoneUnderruns()));
    if (engine.underruns() != 0)
        faults << QString("the engine ran dry %1 times").arg(engine.underruns());
    if (engine.headphoneUnderruns() != 0)
        faults << QString("the headphones ran dry %1 times").arg(engine.headphoneUnderruns());
    for (const QString& message : reporter.messages)
        faults << QString("the window reported: %1").arg(message);
    Say(QString("wall time: %1 s (%2 s of it writing the tracks)")
            .arg(wall.elapsed() / 1000.0, 0, 'f', 1)
            .arg(writtenMs / 1000.0, 0, 'f', 1));
    for (const QString& fault : faults)
        Say("FAULT: " + fault);
    Say(faults.isEmpty() ? "soak: passed" : "soak: FAILED");
    return faults.isEmpty() ? 0 : 1;
}
