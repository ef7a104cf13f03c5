#include "app/Recording.h"

#include "app/Main.h"
#include "app/MainLayout.h"
#include "audio/MasterRecorder.h"
#include "common/Widgets.h"

#include <QDir>
#include <QStandardPaths>
#include <cmath>

namespace velmor {

QString RecordingFolder() {
    // Qt reads the music folder from the user's xdg-user-dirs, as xdg-user-dir does.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::MusicLocation)).filePath("Velmor");
}

QString RecordingFileName(const QDateTime& start) {
    return start.toString("'Velmor 'yyyy-MM-dd HH-mm-ss'.flac'");
}

QString RecordingText(double seconds, uint64_t bytes) {
    const auto whole = static_cast<int64_t>(seconds);
    return QString("\u25cf REC %1:%2:%3 \u00b7 %4 MB")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QChar('0'))
        .arg(whole % 60, 2, 10, QChar('0'))
        .arg(bytes / 1'000'000);
}

Recording::Recording(Main& window, Recorder recorder, QString folder,
                     std::function<QDateTime()> clock)
    : w_(window), recorder_(std::move(recorder)), folder_(std::move(folder)),
      clock_(std::move(clock)) {}

Recording::~Recording() {
    if (audio::MasterRecorder* recorder = recording() ? recorder_() : nullptr)
        recorder->stop(); // the file is completed as the program ends
}

void Recording::wire() {
    QObject::connect(w_.ui.tmrClock, &QTimer::timeout, [this] { tmrClock_Timer(); });
}

void Recording::toggle() {
    if (recording())
        stop();
    else
        start();
}

void Recording::start() {
    audio::MasterRecorder* recorder = recorder_ ? recorder_() : nullptr;
    if (!recorder) {
        w_.reporter.show("There is no sound output to record yet.", kAppTitle, Icon::Exclamation);
        return;
    }
    if (!QDir().mkpath(folder_)) {
        w_.reporter.show("The recording folder " + folder_ + " cannot be made.", kAppTitle,
                         Icon::Exclamation);
        return;
    }
    const QString file = QDir(folder_).filePath(RecordingFileName(clock_()));
    try {
        recorder->start(audio::OpenFlacRecording(file.toStdString(), recorder->rate()));
    } catch (const std::exception& failure) {
        w_.reporter.show("The recording cannot be written in " + folder_ + ": " +
                             DescriptionOf(failure),
                         kAppTitle, Icon::Exclamation);
        return;
    }
    file_ = file;
    show(0, 0);
    w_.ui.lblRecording->show();
    FitListsFoot(w_.ui);
}

void Recording::stop() {
    const QString failure = QString::fromStdString(recorder_()->stop());
    if (!failure.isEmpty())
        w_.reporter.notice("The recording stopped: " + failure + ". What was recorded is in " +
                           file_ + ".");
    file_.clear();
    w_.ui.lblRecording->hide();
    FitListsFoot(w_.ui);
}

void Recording::tmrClock_Timer() {
    if (!recording())
        return;
    audio::MasterRecorder& recorder = *recorder_();
    const audio::MasterRecorder::Status status = recorder.status();
    if (!status.recording) // a disk that filled or went: the failure is told
        return stop();
    show(double(status.frames) / recorder.rate(), status.bytes);
}

void Recording::show(double seconds, uint64_t bytes) {
    const QString text = RecordingText(seconds, bytes);
    if (w_.ui.lblRecording->text() != text)
        w_.ui.lblRecording->setText(text);
}

} // namespace velmor
