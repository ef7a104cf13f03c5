#include "analysis/GainTags.h"

#include <QString>
#include <cmath>

namespace velmor {

namespace {

constexpr double kReplayGainReference = -18;
constexpr double kR128Reference = -23;
constexpr double kLargestGain = 30;

std::optional<double> Loudness(double reference, double gain) {
    if (!std::isfinite(gain) || std::abs(gain) > kLargestGain)
        return std::nullopt;
    return reference - gain;
}

} // namespace

std::optional<double> LoudnessFromReplayGain(QStringView text) {
    QStringView number = text.trimmed();
    if (number.endsWith(u"db", Qt::CaseInsensitive))
        number = number.chopped(2).trimmed();
    // Some taggers write the decimal comma of their language.
    QString written = number.toString();
    if (!written.contains(u'.'))
        written.replace(u',', u'.');
    bool ok = false;
    const double gain = written.toDouble(&ok);
    return ok ? Loudness(kReplayGainReference, gain) : std::nullopt;
}

std::optional<double> LoudnessFromR128Gain(QStringView text) {
    bool ok = false;
    const int steps = text.trimmed().toInt(&ok);
    return ok ? Loudness(kR128Reference, steps / 256.0) : std::nullopt;
}

std::optional<double> TaggedLoudness(QStringView replayGain, QStringView r128Gain) {
    if (const auto loudness = LoudnessFromR128Gain(r128Gain))
        return loudness;
    return LoudnessFromReplayGain(replayGain);
}

} // namespace velmor
