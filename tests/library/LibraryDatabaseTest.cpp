// The library's database file: made where there is none, set aside and made anew where it is
// damaged or from a newer Velmor (never a failed start), shared by connections that take turns.

#include "library/LibraryDatabase.h"
#include "library/TrackStore.h"
#include "support/AudioFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

using namespace velmor;

namespace {

struct LibraryDatabaseTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QStringList setAside() const {
        return QDir(dir.path()).entryList({"library.sqlite.*"}, QDir::Files);
    }
    static qint64 version(LibraryDatabase& database) {
        return database.connection().integer("PRAGMA user_version");
    }
    static qint64 tracks(LibraryDatabase& database) {
        return database.connection().integer("SELECT count(*) FROM tracks");
    }
    static void addTrack(LibraryDatabase& database, const QString& path) {
        TrackStore store(database.connection());
        TrackRecord record;
        record.path = path;
        record.tagged.readable = true;
        ASSERT_TRUE(store.write(record));
    }

    QTemporaryDir dir;
    const QString path = dir.path() + "/library.sqlite";
};

} // namespace

TEST_F(LibraryDatabaseTest, ANewLibraryIsMadeWithItsFolderAndItsTracksAreThereWhenOpenedAgain) {
    const QString nested = dir.path() + "/data/velmor/library.sqlite";
    {
        LibraryDatabase database(nested);
        EXPECT_TRUE(QFile::exists(nested));
        EXPECT_EQ(database.notice(), "");
        EXPECT_EQ(version(database), 1);
        EXPECT_EQ(tracks(database), 0);
        addTrack(database, "/music/a.mp3");
    }
    LibraryDatabase again(nested);
    EXPECT_EQ(tracks(again), 1);
    EXPECT_EQ(again.notice(), "");
}

TEST_F(LibraryDatabaseTest, AFileThatIsNoDatabaseIsSetAsideWithANotice) {
    test::WriteBytes(path.toStdString(), std::string(8192, 'x'));
    LibraryDatabase database(path);
    const QStringList aside = setAside();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(aside[0].startsWith("library.sqlite.damaged-"));
    EXPECT_EQ(database.notice(), "The music library was damaged and has been set aside as " +
                                     aside[0] + "; it is being rebuilt.");
    EXPECT_EQ(test::ReadBytes((dir.path() + "/" + aside[0]).toStdString()), std::string(8192, 'x'));
    EXPECT_EQ(tracks(database), 0);
}

TEST_F(LibraryDatabaseTest, ALibraryDamagedInsideIsSetAside) {
    {
        LibraryDatabase database(path);
        for (int i = 0; i < 500; ++i)
            addTrack(database, QString("/music/%1.mp3").arg(i));
        ASSERT_TRUE(database.connection().exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    // Scribble over the pages after the first: the header stays, the tables do not.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_GT(file.size(), 16384);
    file.seek(4096);
    file.write(QByteArray(8192, '\x5a'));
    file.close();
    LibraryDatabase database(path);
    EXPECT_EQ(setAside().size(), 1);
    EXPECT_TRUE(database.notice().startsWith("The music library was damaged"));
    EXPECT_EQ(tracks(database), 0);
}

TEST_F(LibraryDatabaseTest, ALibraryFromANewerVelmorIsSetAsideWithANotice) {
    {
        LibraryDatabase database(path);
        ASSERT_TRUE(database.connection().exec("PRAGMA user_version = 99"));
    }
    LibraryDatabase database(path);
    const QStringList aside = setAside();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(aside[0].startsWith("library.sqlite.newer-"));
    EXPECT_EQ(database.notice(), "The music library was written by a newer Velmor and has been "
                                 "set aside as " +
                                     aside[0] + "; it is being rebuilt.");
    EXPECT_EQ(version(database), 1);
}

// Another part of Velmor keeps its tables in the same file: a library made anew leaves them.
TEST_F(LibraryDatabaseTest, AnOlderLibraryIsRebuiltAndOtherTablesKept) {
    {
        LibraryDatabase database(path);
        addTrack(database, "/music/a.mp3");
        ASSERT_TRUE(database.connection().exec("CREATE TABLE history (path TEXT)"));
        ASSERT_TRUE(database.connection().exec("INSERT INTO history VALUES ('/music/a.mp3')"));
        ASSERT_TRUE(database.connection().exec("PRAGMA user_version = 0"));
    }
    LibraryDatabase database(path);
    EXPECT_EQ(database.notice(), "");
    EXPECT_EQ(database.connection().integer("SELECT count(*) FROM history"), 1);
    EXPECT_EQ(version(database), 1);
}

TEST_F(LibraryDatabaseTest, AFolderThatCannotBeWrittenGivesALibraryInMemory) {
    const QString file = dir.path() + "/plain";
    test::WriteBytes(file.toStdString(), "a file, not a folder");
    LibraryDatabase database(file + "/library.sqlite");
    EXPECT_TRUE(database.isOpen());
    EXPECT_TRUE(database.notice().startsWith("The music library cannot be kept in "));
    addTrack(database, "/music/a.mp3");
    EXPECT_EQ(tracks(database), 1);
}

// Two windows, or the scan and the window: each waits for the other's lock.
TEST_F(LibraryDatabaseTest, TwoConnectionsWritingAtOnceBothSucceed) {
    LibraryDatabase first(path);
    LibraryDatabase second(path, LibraryDatabase::Check::Quick);
    const auto write = [](LibraryDatabase* database, const QString& folder, bool* ok) {
        TrackStore store(database->connection());
        *ok = true;
        for (int batch = 0; batch < 20 && *ok; ++batch) {
            sqlite::Transaction transaction(database->connection());
            for (int i = 0; i < 50 && *ok; ++i) {
                TrackRecord record;
                record.path = QString("%1/%2-%3.mp3").arg(folder).arg(batch).arg(i);
                record.tagged.readable = true;
                *ok = transaction.begun() && store.write(record);
            }
            *ok = *ok && transaction.commit();
        }
    };
    bool firstOk = false;
    bool secondOk = false;
    std::thread one(write, &first, "/one", &firstOk);
    std::thread two(write, &second, "/two", &secondOk);
    one.join();
    two.join();
    EXPECT_TRUE(firstOk);
    EXPECT_TRUE(secondOk);
    EXPECT_EQ(tracks(first), 2000);
}
