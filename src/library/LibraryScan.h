#pragma once

#include "common/BackgroundWork.h"
#include "library/MusicScan.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace velmor {

// The library's scan on a worker of its own, below the audio threads, writing through a
// connection of its own. The window hears of its progress a few times a second and of its
// summary at the end. A scan asked for while one runs replaces it.
class LibraryScan : public QObject {
    Q_OBJECT
public:
    LibraryScan(QString databasePath, ScanTools tools, QObject* parent = nullptr);

    void start(const QStringList& folders);
    void cancel() { job_.cancel(); }
    bool running() const { return job_.active() && work_.busy(); }
    // Delivers what the scan tells until it is done (for tests).
    void waitUntilDone() { work_.waitUntilDone(); }

signals:
    void progressed(qint64 seen, qint64 total);
    void finished(const velmor::ScanSummary& summary);

private:
    QString databasePath_;
    ScanTools tools_;
    BackgroundWork work_{"velmor scan", 10};
    BackgroundWork::Job job_;
};

} // namespace velmor
