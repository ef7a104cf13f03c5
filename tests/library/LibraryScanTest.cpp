// The scan on its worker: the window hears of its progress and its summary, and a library
// searched on the window's own connection sees what the worker wrote.

#include "library/LibraryScan.h"
#include "library/LibraryDatabase.h"
#include "library/LibrarySearch.h"
#include "support/AudioFixtures.h"
#include "support/TaggedFiles.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct LibraryScanTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(music));
        for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
            const std::string file = (music + "/" + name).toStdString();
            test::WriteWav(file, test::Tone(440, 0.1, 8000), 8000, 1);
            ASSERT_TRUE(test::WriteTags(file, {{"ARTIST", "Chic"}, {"TITLE", name}}));
        }
    }
    // Scans the music folder on `worker`; the summaries the window hears at its end.
    std::vector<ScanSummary> scan(LibraryScan& worker) {
        std::vector<ScanSummary> summaries;
        QObject::connect(&worker, &LibraryScan::finished,
                         [&](const ScanSummary& summary) { summaries.push_back(summary); });
        worker.start({music});
        worker.waitUntilDone();
        return summaries;
    }

    QTemporaryDir dir;
    const QString music = dir.path() + "/Music";
    const QString path = dir.path() + "/library.sqlite";
    LibraryDatabase window{path};
    ScanTools tools;
};

} // namespace

TEST_F(LibraryScanTest, TheWindowHearsTheProgressAndTheSummary) {
    LibraryScan worker(path, tools);
    QSignalSpy progressed(&worker, &LibraryScan::progressed);
    const std::vector<ScanSummary> summaries = scan(worker);
    ASSERT_GE(progressed.size(), 1);
    EXPECT_EQ(progressed.last().at(0).toLongLong(), 3);
    EXPECT_EQ(progressed.last().at(1).toLongLong(), 3);
    ASSERT_EQ(summaries.size(), 1u);
    EXPECT_EQ(summaries[0].tracks, 3);
    EXPECT_EQ(LibrarySearch(window.connection()).search("chic").size(), 3u);
}

// The window sets a library from a newer Velmor aside at its start; a scan does not write into
// one meanwhile.
TEST_F(LibraryScanTest, ALibraryThatCannotBeOpenedEndsTheScanWithWhy) {
    test::WriteBytes((dir.path() + "/plain").toStdString(), "a file, not a folder");
    LibraryScan unopened(dir.path() + "/plain/library.sqlite", tools);
    const std::vector<ScanSummary> summaries = scan(unopened);
    ASSERT_EQ(summaries.size(), 1u);
    EXPECT_TRUE(summaries[0].failure.startsWith("The music library cannot be opened: "));
    ASSERT_TRUE(window.connection().exec("PRAGMA user_version = 99"));
    LibraryScan newer(path, tools);
    const std::vector<ScanSummary> refused = scan(newer);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].failure,
              "The music library cannot be opened: it was written by a newer Velmor.");
    EXPECT_EQ(window.connection().integer("SELECT count(*) FROM tracks"), 0);
}
