#pragma once

#include "library/LibraryDatabase.h"
#include "library/TrackStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmor::test {

// A library database in a folder of its own, and the way to put tracks in it without files.
struct LibraryFixture : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void add(const QString& path, const QString& artist, const QString& title,
             const QString& album = {}) {
        TrackRecord record;
        record.path = path;
        record.size = 1000;
        record.modifiedMs = 1;
        record.tagged.readable = true;
        record.tagged.tags.artist = artist;
        record.tagged.tags.title = title;
        record.tagged.tags.album = album;
        ASSERT_TRUE(store.write(record)) << database.connection().error().toStdString();
    }

    QTemporaryDir dir;
    const QString path = dir.path() + "/velmor/library.sqlite";
    LibraryDatabase database{path};
    TrackStore store{database.connection()};
};

} // namespace velmor::test
