#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace velmor {

namespace audio {
class MasterRecorder;
}

class Main;

// The user's music folder (as xdg-user-dir names it, else ~/Music), and Velmor's folder in it
// where recordings go.
QString RecordingFolder();
// "Velmor 2026-12-08 21-14-05.flac": when the recording started.
QString RecordingFileName(const QDateTime& start);
// "● REC 0:12:34 · 84 MB": how long the recording is and how large.
QString RecordingText(double seconds, uint64_t bytes);

// The recording of the main output (Ctrl+R): started into a new file of the recording
// folder, shown over the lists' foot while it runs, stopped by the same key. A folder that
// cannot be made or written is told in a box at the start; a disk that fills or goes ends
// the recording with a notice, and the music plays on.
class Recording {
public:
    using Recorder = std::function<audio::MasterRecorder*()>; // none without an engine
    Recording(Main& window, Recorder recorder, QString folder, std::function<QDateTime()> clock);
    ~Recording();
    void wire();

    bool recording() const { return !file_.isEmpty(); }
    QString file() const { return file_; }
    void toggle();
    // The clock's second: the label, and a recording that ended by itself.
    void tmrClock_Timer();

private:
    void start();
    void stop();
    void show(double seconds, uint64_t bytes);

    Main& w_;
    Recorder recorder_;
    QString folder_;
    std::function<QDateTime()> clock_;
    QString file_; // the file being recorded; "" while there is no recording
};

} // namespace velmor
