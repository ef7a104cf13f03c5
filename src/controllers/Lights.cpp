#include "controllers/Lights.h"

#include <QRegularExpression>

namespace velmor {

std::vector<Light> LightsOf(const std::vector<Mapping>& mappings,
                            const std::function<std::optional<bool>(const QString&)>& stateOf) {
    std::vector<Light> lights;
    for (const Mapping& mapping : mappings) {
        if (mapping.control.kind != MidiMessage::Note)
            continue;
        if (const auto on = stateOf(mapping.action))
            lights.push_back({mapping.control.channel, mapping.control.number, *on});
    }
    return lights;
}

namespace {
// The client a port belongs to, without the number JACK gives a second client of a name.
QString clientOf(const QString& port) {
    static const QRegularExpression numbered("-\\d\\d$");
    QString client = port.section(u':', 0, 0);
    client.remove(numbered);
    return client;
}
} // namespace

std::optional<QString> MatchingOutput(const QString& input, const QStringList& outputs) {
    if (outputs.contains(input))
        return input;
    QStringList sameClient;
    for (const QString& output : outputs)
        if (clientOf(output) == clientOf(input))
            sameClient << output;
    if (sameClient.size() == 1)
        return sameClient.first();
    QString playback = input;
    playback.replace("capture", "playback");
    if (playback != input && outputs.contains(playback))
        return playback;
    return std::nullopt;
}

} // namespace velmor
