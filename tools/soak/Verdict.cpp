#include "soak/Verdict.h"

#include <QFile>

namespace velmor::soak {

QString JudgeRound(const std::vector<int>& opened, int entries, bool lastPlayedToEnd) {
    for (size_t i = 0; i < opened.size(); ++i) {
        const int expected = static_cast<int>(i) + 1;
        if (opened[i] != expected)
            return QString("opened entry %1 where entry %2 was due").arg(opened[i]).arg(expected);
    }
    if (static_cast<int>(opened.size()) < entries)
        return QString("stopped advancing at entry %1 of %2").arg(opened.size()).arg(entries);
    if (static_cast<int>(opened.size()) > entries)
        return QString("opened %1 entries of a list of %2").arg(opened.size()).arg(entries);
    if (!lastPlayedToEnd)
        return QString("entry %1 never played to its end").arg(entries);
    return {};
}

QString JudgeMemory(long settledKb, long endKb, double tolerance) {
    if (settledKb <= 0 || endKb <= 0)
        return "resident memory could not be read";
    if (static_cast<double>(endKb) > static_cast<double>(settledKb) * (1 + tolerance))
        return QString("memory grew from %1 kB to %2 kB (%3 %)")
            .arg(settledKb)
            .arg(endKb)
            .arg(100.0 * (endKb - settledKb) / settledKb, 0, 'f', 1);
    return {};
}

long ResidentKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // Files of /proc have no size to read up to: read until they end.
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace velmor::soak
