#include "app/Controllers.h"

#include "app/Main.h"
#include "common/Widgets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTimer>

namespace velmor {

namespace {
const char* const kSwitchedOffKey = "controllers/off";

// The text of a mapping file; "" for one not there, none for one that cannot be read.
std::optional<QString> ReadText(const QString& file) {
    QFile in(file);
    if (!in.exists())
        return QString();
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(in.readAll());
}

bool WriteText(const QString& file, const QString& text) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(text.toUtf8()) >= 0 && out.commit();
}
} // namespace

Controllers::Controllers(Main& window) : w_(window) {
    connect(&ports_, &MidiPorts::taken, this, &Controllers::taken);
    connect(&ports_, &MidiPorts::lost, this, &Controllers::lost);
    // A controller just opened may not take what is sent at once (its connection, its own
    // start): its lights are sent again a look later.
    connect(&ports_, &MidiPorts::outputOpened, this, [this](const QString& port) {
        showLights(port, true);
        QTimer::singleShot(MidiPorts::kLookIntervalMs, this,
                           [this, port] { showLights(port, true); });
    });
    connect(&ports_, &MidiPorts::received, this, &Controllers::received);
}

void Controllers::wire() {
    for (int d = 0; d < kDecks; ++d) {
        Deck* deck = w_.decks[d];
        for (auto changed : {&Deck::playing, &Deck::paused, &Deck::stopped, &Deck::closed})
            connect(deck, changed, this, &Controllers::showAllLights);
        connect(deck, &Deck::mutedChanged, this, &Controllers::showAllLights);
        connect(deck, &Deck::prelistenChanged, this, &Controllers::showAllLights);
        connect(w_.ui.optPla[d], &QPushButton::toggled, this, [this] { showAllLights(); });
    }
}

void Controllers::keepIn(const QString& folder, const QString& setupFile) {
    folder_ = folder;
    setupFile_ = setupFile;
    if (!setupFile.isEmpty())
        ports_.setSwitchedOff(
            QSettings(setupFile, QSettings::IniFormat).value(kSwitchedOffKey).toStringList());
}

void Controllers::start(const QString& folder, const QString& setupFile) {
    keepIn(folder, setupFile);
    ports_.start();
}

void Controllers::switchPort(const QString& port, bool on) {
    QStringList off = ports_.switchedOff();
    off.removeAll(port);
    if (!on)
        off << port;
    ports_.setSwitchedOff(off);
    if (!on)
        open_.erase(port);
    if (!setupFile_.isEmpty()) {
        QSettings settings(setupFile_, QSettings::IniFormat);
        settings.setValue(kSwitchedOffKey, off);
        settings.sync();
        if (settings.status() != QSettings::NoError)
            w_.reporter.notice("The ports switched off could not be kept in " + setupFile_ + ".");
    }
    if (on)
        ports_.look();
}

MappingTargets Controllers::targets() const {
    const ActionTable& table = w_.actions;
    return {[&table](const QString& id) { return table.forId(id) != nullptr; },
            [&table](const QString& id) { return table.faderForId(id) != nullptr; }};
}

QString Controllers::mappingFile(const QString& port) const {
    const QString own = PortMappingFile(folder_, port);
    const QString any = AnyPortMappingFile(folder_);
    return !QFileInfo::exists(own) && QFileInfo::exists(any) ? any : own;
}

void Controllers::load(const QString& port) {
    const QString file = mappingFile(port);
    const std::optional<QString> text = ReadText(file);
    if (!text) {
        if (!told_.contains(file))
            w_.reporter.notice("The controller mappings in " + file + " could not be read.");
        told_ << file;
        open_[port].map = ControllerMap();
        return;
    }
    MappingFile read = ParseMappings(*text, targets());
    for (const QString& problem : read.problems) {
        const QString told = file + ": " + problem;
        if (!told_.contains(told))
            w_.reporter.notice(told + "; the other lines are used.");
        told_ << told;
    }
    open_[port].map = ControllerMap(std::move(read.mappings));
}

void Controllers::taken(const QString& port) {
    open_[port].shown.reset();
    load(port);
}

void Controllers::lost(const QString& port) {
    open_.erase(port);
    w_.reporter.notice("The controller \"" + port +
                       "\" went away; Velmor takes it back when it is plugged in again.");
}

void Controllers::received(const QString& port, const MidiMessage& message) {
    const auto it = open_.find(port);
    if (it == open_.end())
        return;
    if (learning_.listening()) {
        if (const auto mapping = learning_.hear(message))
            learnt(port, *mapping);
        return;
    }
    const ActionTable& table = w_.actions;
    const auto order = it->second.map.respond(message, [&table](const QString& id) {
        const Fader* fader = table.faderForId(id);
        return fader ? FaderPosition{fader->value(), fader->minimum, fader->maximum}
                     : FaderPosition{};
    });
    if (!order)
        return;
    if (order->kind == ControlOrder::Trigger) {
        if (const Action* action = table.forId(order->action))
            action->call();
    } else if (const Fader* fader = table.faderForId(order->action)) {
        fader->set(order->value);
    }
}

void Controllers::learn(const QString& id) {
    learning_.listenFor(id, w_.actions.faderForId(id) != nullptr);
    w_.shortcuts.picker = [this](const Action& action) { learn(action.id); };
    emit learningChanged("Move or press the control for " + id + ".");
}

void Controllers::stopLearning() {
    learning_.stop();
    w_.shortcuts.picker = nullptr;
}

void Controllers::learnt(const QString& port, const Mapping& mapping) {
    stopLearning();
    const QString file = mappingFile(port);
    const QString text = ReadText(file).value_or(QString());
    const MappingFile before = ParseMappings(text, targets());
    const Mapping* old = MappingOf(before.mappings, mapping.control);
    const QString control = ControlText(mapping.control);
    if (old && old->action != mapping.action &&
        !w_.reporter.ask(control + " of \"" + port + "\" is mapped to " + old->action +
                         ". Map it to " + mapping.action + " instead?")) {
        emit learningChanged(control + " stays mapped to " + old->action + ".");
        return;
    }
    if (!WriteText(file, WithMapping(text, mapping, targets()))) {
        w_.reporter.notice("The mapping could not be written to " + file + ".");
        return;
    }
    for (auto& [name, open] : open_)
        if (mappingFile(name) == file)
            load(name);
    showAllLights();
    emit learningChanged("Learnt: " + MappingLine(mapping) + ", in " + file + ".");
}

std::optional<bool> Controllers::lightOf(const QString& id) const {
    for (int d = 0; d < kDecks; ++d) {
        const QString deck = QString("deck%1.").arg(d + 1);
        if (!id.startsWith(deck))
            continue;
        const QString verb = id.mid(deck.size());
        if (verb == "play_pause")
            return w_.pla[d]->PlayState() == MediaPlayer::Playing;
        if (verb == "mute")
            return w_.decks[d]->muted();
        if (verb == "prelisten")
            return w_.decks[d]->prelisten();
        if (verb == "activate")
            return w_.activation.ActiveDeck() == d;
    }
    return std::nullopt;
}

void Controllers::showLights(const QString& port, bool all) {
    const auto it = open_.find(port);
    if (it == open_.end())
        return;
    const std::vector<Light> lights =
        LightsOf(it->second.map.mappings(), [this](const QString& id) { return lightOf(id); });
    std::optional<std::vector<Light>>& shown = it->second.shown;
    for (size_t i = 0; i < lights.size(); ++i)
        if (all || !shown || shown->size() != lights.size() || (*shown)[i] != lights[i])
            ports_.send(port,
                        NoteOnBytes(lights[i].channel, lights[i].note, lights[i].on ? 127 : 0));
    shown = lights;
}

void Controllers::showAllLights() {
    for (const auto& [port, open] : open_)
        showLights(port, false);
}

} // namespace velmor
