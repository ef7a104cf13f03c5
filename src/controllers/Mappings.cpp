#include "controllers/Mappings.h"

#include <QStandardPaths>
#include <algorithm>
#include <iterator>

namespace velmor {

namespace {
const char* const kModeNames[] = {"button", "toggle", "fader", "encoder"};

std::optional<int> numberIn(const QString& word, int low, int high) {
    bool ok = false;
    const int n = word.toInt(&ok);
    if (!ok || n < low || n > high)
        return std::nullopt;
    return n;
}

// One line as read: a mapping, nothing (blank or comment), or why it maps nothing.
struct Line {
    std::optional<Mapping> mapping;
    QString problem;
};

Line readLine(const QString& raw, const MappingTargets& targets) {
    const QString text = raw.section(u'#', 0, 0).trimmed();
    if (text.isEmpty())
        return {};
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return {std::nullopt, "no \"=\" between the control and the action"};
    const QStringList control = text.left(equals).simplified().split(u' ', Qt::SkipEmptyParts);
    const QStringList target = text.mid(equals + 1).simplified().split(u' ', Qt::SkipEmptyParts);
    if (control.size() != 3 || (control[0] != "note" && control[0] != "cc"))
        return {std::nullopt, "the control is not \"note|cc <channel> <number>\""};
    Mapping mapping;
    mapping.control.kind = control[0] == "note" ? MidiMessage::Note : MidiMessage::ControlChange;
    const auto channel = numberIn(control[1], 1, 16);
    if (!channel)
        return {std::nullopt, "the channel \"" + control[1] + "\" is not 1 to 16"};
    const auto number = numberIn(control[2], 0, 127);
    if (!number)
        return {std::nullopt, "the number \"" + control[2] + "\" is not 0 to 127"};
    mapping.control.channel = *channel;
    mapping.control.number = *number;
    if (target.isEmpty() || target.size() > 2)
        return {std::nullopt, "not one action and at most a mode after \"=\""};
    mapping.action = target[0];
    const bool fader = targets.isFader(mapping.action);
    if (!fader && !targets.isAction(mapping.action))
        return {std::nullopt, "there is no action \"" + mapping.action + "\""};
    const bool changes = mapping.control.kind == MidiMessage::ControlChange;
    mapping.mode = fader && changes ? ControlMode::Fader : ControlMode::Button;
    if (target.size() == 2) {
        const auto* name = std::find(std::begin(kModeNames), std::end(kModeNames), target[1]);
        if (name == std::end(kModeNames))
            return {std::nullopt,
                    "the mode \"" + target[1] + "\" is not button, toggle, fader or encoder"};
        mapping.mode = static_cast<ControlMode>(name - std::begin(kModeNames));
    }
    const bool moves = mapping.mode == ControlMode::Fader || mapping.mode == ControlMode::Encoder;
    if (moves && !fader)
        return {std::nullopt, mapping.action + " is pressed, not moved: a button or a toggle"};
    if (!moves && fader)
        return {std::nullopt, mapping.action + " is moved: a fader or an encoder (a cc)"};
    if (moves && !changes)
        return {std::nullopt, "a note cannot be a fader or an encoder"};
    return {mapping, {}};
}
} // namespace

Control ControlOf(const MidiMessage& message) {
    return {message.kind, message.channel, message.number};
}

QString ControlText(const Control& control) {
    return QString("%1 %2 %3")
        .arg(control.kind == MidiMessage::Note ? "note" : "cc")
        .arg(control.channel)
        .arg(control.number);
}

QString MappingLine(const Mapping& mapping) {
    return ControlText(mapping.control) + " = " + mapping.action + " " +
           kModeNames[static_cast<int>(mapping.mode)];
}

MappingFile ParseMappings(const QString& text, const MappingTargets& targets) {
    MappingFile file;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line line = readLine(lines[i], targets);
        QString problem = line.problem;
        if (line.mapping && MappingOf(file.mappings, line.mapping->control))
            problem = ControlText(line.mapping->control) + " is mapped on an earlier line";
        if (!problem.isEmpty())
            file.problems << QString("line %1: %2").arg(i + 1).arg(problem);
        else if (line.mapping)
            file.mappings.push_back(*line.mapping);
    }
    return file;
}

const Mapping* MappingOf(const std::vector<Mapping>& mappings, const Control& control) {
    for (const Mapping& mapping : mappings)
        if (mapping.control == control)
            return &mapping;
    return nullptr;
}

QString WithMapping(const QString& text, const Mapping& mapping, const MappingTargets& targets) {
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    bool replaced = false;
    for (QString& line : lines) {
        const Line read = readLine(line, targets);
        if (read.mapping && read.mapping->control == mapping.control) {
            line = replaced ? QString() : MappingLine(mapping);
            replaced = true;
        }
    }
    if (!replaced)
        lines << MappingLine(mapping);
    return lines.join(u'\n') + u'\n';
}

QString ControllersFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/velmor/controllers";
}

QString PortMappingFile(const QString& folder, const QString& port) {
    QString name = port;
    name.replace(u'/', u'_');
    return folder + u'/' + name + ".conf";
}

QString AnyPortMappingFile(const QString& folder) {
    return folder + "/any.conf";
}

} // namespace velmor
