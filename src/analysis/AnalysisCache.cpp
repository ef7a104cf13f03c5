#include "analysis/AnalysisCache.h"

#include "common/FileNames.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <sys/stat.h>

namespace velmor {

namespace {

// The file begins with these, then the version; a file of another version is not read.
constexpr char kMagic[] = "velmor look\n";
constexpr quint32 kVersion = 1;
constexpr int kStreamVersion = QDataStream::Qt_6_0;
constexpr int kMaxBins = 1 << 20;

void Write(QDataStream& out, const std::optional<double>& figure) {
    out << figure.has_value() << figure.value_or(0);
}

bool Read(QDataStream& in, std::optional<double>& figure) {
    bool known = false;
    double value = 0;
    in >> known >> value;
    figure.reset();
    if (known)
        figure = value;
    return in.status() == QDataStream::Ok;
}

QByteArray Body(const QString& path, const FileStamp& stamp, const TrackLook& look) {
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    const TrackFacts& f = look.facts;
    out << path << stamp.size << stamp.modifiedMs << f.lengthSeconds;
    for (const auto* figure : {&f.loudness, &f.truePeak, &f.soundStart, &f.soundEnd, &f.bpm})
        Write(out, *figure);
    out << static_cast<qint64>(look.peaks.framesRead)
        << static_cast<qint32>(look.peaks.peaks.size());
    out.setFloatingPointPrecision(QDataStream::SinglePrecision);
    for (const float peak : look.peaks.peaks)
        out << peak;
    return body;
}

std::optional<TrackLook> ReadBody(const QByteArray& body, const QString& path,
                                  const FileStamp& stamp) {
    QDataStream in(body);
    in.setVersion(kStreamVersion);
    QString keptPath;
    FileStamp keptStamp;
    TrackLook look;
    TrackFacts& f = look.facts;
    in >> keptPath >> keptStamp.size >> keptStamp.modifiedMs >> f.lengthSeconds;
    if (in.status() != QDataStream::Ok || keptPath != path || !(keptStamp == stamp))
        return std::nullopt;
    for (auto* figure : {&f.loudness, &f.truePeak, &f.soundStart, &f.soundEnd, &f.bpm})
        if (!Read(in, *figure))
            return std::nullopt;
    qint64 framesRead = 0;
    qint32 bins = 0;
    in >> framesRead >> bins;
    if (in.status() != QDataStream::Ok || bins < 0 || bins > kMaxBins)
        return std::nullopt;
    look.peaks.framesRead = framesRead;
    look.peaks.peaks.resize(static_cast<size_t>(bins));
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    for (float& peak : look.peaks.peaks)
        in >> peak;
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return look;
}

} // namespace

std::optional<FileStamp> StampOf(const QString& path) {
    // Read straight from the file system, in UTC: a local time made here, on a worker, would
    // set up the time zone under the window thread's clock.
    struct stat status {};
    if (::stat(FileNameToBytes(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp{static_cast<qint64>(status.st_size),
                     static_cast<qint64>(status.st_mtim.tv_sec) * 1000 +
                         status.st_mtim.tv_nsec / 1'000'000};
}

QString AnalysisCache::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/velmor/looks";
}

AnalysisCache::AnalysisCache(QString folder) : folder_(std::move(folder)) {}

QString AnalysisCache::fileFor(const QString& path) const {
    const QByteArray hash =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder_ + '/' + QString::fromLatin1(hash) + ".look";
}

std::optional<TrackLook> AnalysisCache::find(const QString& path, const FileStamp& stamp) const {
    QFile file(fileFor(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    // The magic, the version, the body and the body's own hash.
    const qsizetype head = sizeof(kMagic) - 1 + 4;
    constexpr qsizetype kHash = 20;
    if (bytes.size() < head + kHash || !bytes.startsWith(kMagic))
        return std::nullopt;
    QDataStream version(bytes.mid(sizeof(kMagic) - 1, 4));
    quint32 kept = 0;
    version >> kept;
    if (kept != kVersion)
        return std::nullopt;
    const QByteArray body = bytes.mid(head, bytes.size() - head - kHash);
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha1) != bytes.right(kHash))
        return std::nullopt;
    return ReadBody(body, path, stamp);
}

void AnalysisCache::keep(const QString& path, const FileStamp& stamp, const TrackLook& look) const {
    if (!QDir().mkpath(folder_))
        return;
    QSaveFile file(fileFor(path));
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QByteArray body = Body(path, stamp, look);
    QByteArray version;
    QDataStream(&version, QIODevice::WriteOnly) << kVersion;
    file.write(kMagic, sizeof(kMagic) - 1);
    file.write(version);
    file.write(body);
    file.write(QCryptographicHash::hash(body, QCryptographicHash::Sha1));
    file.commit();
}

} // namespace velmor
