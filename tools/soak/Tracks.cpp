#include "soak/Tracks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <sndfile.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace velmor::soak {

namespace {

// A few lengths, so that the decks' track changes drift apart instead of keeping step.
constexpr double kLengths[] = {0.4, 0.55, 0.7, 0.8};

std::vector<float> Tone(double frequency, double seconds, int rate) {
    std::vector<float> out(static_cast<size_t>(std::lround(seconds * rate)));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = 0.3f * static_cast<float>(std::sin(2 * M_PI * frequency * i / rate));
    return out;
}

void WriteWav(const QString& path, const std::vector<float>& samples, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path.toStdString());
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool complete = sf_writef_float(file, samples.data(), frames) == frames;
    sf_close(file);
    if (!complete)
        throw std::runtime_error("cannot write all of " + path.toStdString());
}

void EncodeMp3(const QString& wav, const QString& mp3) {
    QProcess lame;
    lame.start("lame", {"--quiet", wav, mp3});
    if (!lame.waitForFinished(60000) || lame.exitStatus() != QProcess::NormalExit ||
        lame.exitCode() != 0)
        throw std::runtime_error("lame could not encode " + mp3.toStdString());
}

} // namespace

bool CanEncodeMp3() {
    return !QStandardPaths::findExecutable("lame").isEmpty();
}

QStringList WriteTracks(const QString& folder, int deck, int count, bool mp3) {
    if (!QDir().mkpath(folder))
        throw std::runtime_error("cannot create " + folder.toStdString());
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const double seconds = kLengths[(i * 3 + deck) % std::size(kLengths)];
        // A pitch of its own for every track of every deck.
        const double frequency = 220.0 * std::pow(2.0, (deck * count + i) / 48.0);
        const QString stem = QString("%1 Deck %2").arg(i + 1, 2, 10, QChar('0')).arg(deck + 1);
        const QString wav = QDir(folder).filePath(stem + ".wav");
        if (mp3 && i % 2 == 1) {
            WriteWav(wav, Tone(frequency, seconds, 44100), 44100);
            EncodeMp3(wav, QDir(folder).filePath(stem + ".mp3"));
            QFile::remove(wav);
            names << stem + ".mp3";
        } else {
            WriteWav(wav, Tone(frequency, seconds, 48000), 48000);
            names << stem + ".wav";
        }
    }
    return names;
}

void WriteLibrary(const QString& folder, const QString& track, int count) {
    const QString suffix = "." + QFileInfo(track).suffix();
    for (int i = 0; i < count; ++i) {
        const QString album = QDir(folder).filePath(QString("Album %1").arg(i / 100 + 1));
        if (i % 100 == 0 && !QDir().mkpath(album))
            throw std::runtime_error("cannot create " + album.toStdString());
        const QString name = QDir(album).filePath(QString("Track %1").arg(i + 1) + suffix);
        if (::link(QFile::encodeName(track).constData(), QFile::encodeName(name).constData()) != 0)
            throw std::runtime_error("cannot link " + name.toStdString());
    }
}

} // namespace velmor::soak
