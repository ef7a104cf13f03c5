#pragma once

#include "controllers/MidiMessage.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

namespace velmor {

// The MIDI ports of the system, through RtMidi: ALSA's sequencer, and JACK where a JACK
// server runs (an API that does not open now is tried again at the next look). Every input
// port is listened to unless switched off; the output port of the same controller, where
// there is one, carries its lights. Ports are looked at every second: a port that comes, or
// comes back, is opened; one that goes is closed and told once.
//
// Messages arrive on RtMidi's threads, go through a lock-free ring per port, and are
// delivered on the UI thread; nothing here waits on them.
class MidiPorts : public QObject {
    Q_OBJECT
public:
    // Velmor's own clients are named so, and their ports are not listened to.
    static constexpr const char* kClientName = "Velmor";
    static constexpr int kLookIntervalMs = 1000;

    explicit MidiPorts(QObject* parent = nullptr);
    ~MidiPorts() override;

    // Looks now and then every second.
    void start();
    // Opens the ports come since the last look, closes those gone.
    void look();
    // The ports not to listen to; one listened to now is closed at once.
    void setSwitchedOff(const QStringList& ports);
    const QStringList& switchedOff() const { return switchedOff_; }
    // Every input port of the last look, listened to or switched off, by name.
    const QStringList& inputs() const { return inputs_; }
    bool isOpen(const QString& port) const { return open_.count(port) != 0; }
    // Sends to the controller of `port`; nothing where it has no output port.
    void send(const QString& port, const std::vector<unsigned char>& bytes);

signals:
    void taken(const QString& port);        // opened: new, back, or switched on
    void lost(const QString& port);         // it went away while open
    void outputOpened(const QString& port); // its controller can now be sent to
    void received(const QString& port, const velmor::MidiMessage& message);
    void inputsChanged();

private:
    Q_INVOKABLE void deliver();
    struct Api;
    struct OpenPort;
    void open(Api& api, const QString& name, unsigned index);
    void openOutput(OpenPort& port);
    // Forgets the ports of a system whose server has gone, telling them lost when `tell`.
    void letGo(Api& api, bool tell);

    std::vector<std::unique_ptr<Api>> apis_;
    std::map<QString, std::unique_ptr<OpenPort>> open_;
    QStringList inputs_;
    QStringList switchedOff_;
    QTimer timer_;
};

} // namespace velmor
