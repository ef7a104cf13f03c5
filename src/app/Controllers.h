#pragma once

#include "controllers/ControllerMap.h"
#include "controllers/Learning.h"
#include "controllers/Lights.h"
#include "controllers/MidiPorts.h"

#include <QObject>
#include <QSet>
#include <map>
#include <optional>

namespace velmor {

class Main;

// The controllers plugged into Velmor: each port's mappings (its own file in the mapping
// folder, else any.conf), their messages turned into the window's actions and faders, the
// lights of play/pause, mute, pre-listen and the active deck sent back, and the learning of
// a control for an action. Which ports are switched off is kept in the audio set-up file.
class Controllers : public QObject {
    Q_OBJECT
public:
    explicit Controllers(Main& window);
    // Follows the decks and the active deck, for the lights.
    void wire();
    // Reads the mappings from `folder` and the ports switched off from `setupFile` ("" keeps
    // them nowhere), and looks at the ports now and every second.
    void start(const QString& folder, const QString& setupFile);
    // The same, without the looking every second: a test looks itself.
    void keepIn(const QString& folder, const QString& setupFile);

    MidiPorts& ports() { return ports_; }
    void switchPort(const QString& port, bool on);

    // Learning: the next control moved or pressed is mapped to `id`; a key pressed meanwhile
    // picks its action instead.
    void learn(const QString& id);
    void stopLearning();
    bool learning() const { return learning_.listening(); }
    // The file the mappings of `port` are read from, and learnt controls written to: its own
    // where there is one, else any.conf where there is one, else its own.
    QString mappingFile(const QString& port) const;

signals:
    // What learning did or waits for, in words for the set-up window.
    void learningChanged(const QString& text);

private:
    void taken(const QString& port);
    void lost(const QString& port);
    void received(const QString& port, const MidiMessage& message);
    void learnt(const QString& port, const Mapping& mapping);
    void load(const QString& port);
    void showLights(const QString& port, bool all);
    void showAllLights();
    std::optional<bool> lightOf(const QString& id) const;
    MappingTargets targets() const;

    Main& w_;
    MidiPorts ports_;
    QString folder_;
    QString setupFile_;
    struct Port {
        ControllerMap map;
        std::optional<std::vector<Light>> shown; // the lights last sent; none before any
    };
    std::map<QString, Port> open_;
    Learning learning_;
    QSet<QString> told_; // the broken lines told, each told once
};

} // namespace velmor
