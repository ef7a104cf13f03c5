#pragma once

#include <QProcess>
#include <QString>
#include <memory>
#include <mutex>
#include <vector>

class RtMidiIn;
class RtMidiOut;

namespace velmor::test {

// A JACK server on its dummy back-end, under a name of its own so that tests running side by
// side do not meet; the process's JACK clients reach it (and start no other).
class JackServer {
public:
    // At 48 kHz, a period of `periodFrames`.
    explicit JackServer(int periodFrames = 256);
    ~JackServer() { stop(); }
    // Ends the server, and starts it again under the same name.
    void stop();
    void start();
    // Whether it came up; why not, otherwise.
    bool running() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }

private:
    QProcess process_;
    QString name_;
    int periodFrames_;
    QString error_;
};

// A MIDI controller on the JACK server: a client with an output port "out", which Velmor
// listens to, and an input port "in", which Velmor sends the lights to.
class MidiTestController {
public:
    explicit MidiTestController(const QString& name = "Fader Box");
    ~MidiTestController();
    // The name of the port Velmor listens to.
    QString port() const { return name_ + ":out"; }

    void note(int channel, int number, int velocity);
    void cc(int channel, int number, int value);
    // Takes the ports away, as a cable pulled out; plugBack brings them again.
    void unplug();
    void plugBack();
    // The server went away: its clients are let go, not closed (libjack fails on them).
    void serverGone();

    // The note-ons received, as channel, note and velocity, in order.
    struct Note {
        int channel;
        int note;
        int velocity;
        bool operator==(const Note&) const = default;
    };
    std::vector<Note> received() const;
    void forget();

private:
    void send(unsigned char status, int number, int value);
    static void receive(double, std::vector<unsigned char>* bytes, void* self);

    QString name_;
    std::unique_ptr<RtMidiOut> out_;
    std::unique_ptr<RtMidiIn> in_;
    mutable std::mutex mutex_;
    std::vector<Note> received_;
};

} // namespace velmor::test
