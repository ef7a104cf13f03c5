#include "support/MidiTestController.h"

#include <QCoreApplication>
#include <QThread>
#include <RtMidi.h>
#include <jack/jack.h>

namespace velmor::test {

JackServer::JackServer(int periodFrames)
    : name_(QString("velmor-test-%1").arg(QCoreApplication::applicationPid())),
      periodFrames_(periodFrames) {
    qputenv("JACK_DEFAULT_SERVER", name_.toUtf8());
    qputenv("JACK_NO_START_SERVER", "1");
    process_.setProcessChannelMode(QProcess::MergedChannels);
    start();
}

void JackServer::start() {
    error_.clear();
    // Synchronous (-S): the server waits for every client in each period, so that a client
    // late on a busy machine is not passed over and its MIDI lost; -t gives it two seconds.
    process_.start("jackd", {"--no-realtime", "-S", "-t", "2000", "-n", name_, "-d", "dummy", "-r",
                             "48000", "-p", QString::number(periodFrames_)});
    if (!process_.waitForStarted()) {
        error_ = "jackd did not start: " + process_.errorString();
        return;
    }
    // Up once a client can join it.
    for (int tries = 0; tries < 200; ++tries) {
        jack_status_t status{};
        if (jack_client_t* client = jack_client_open("velmor-probe", JackNoStartServer, &status)) {
            jack_client_close(client);
            return;
        }
        if (process_.state() != QProcess::Running)
            break;
        QThread::msleep(50);
    }
    error_ = "jackd did not come up: " + QString::fromLocal8Bit(process_.readAll());
}

void JackServer::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000))
        process_.kill();
    process_.waitForFinished();
}

MidiTestController::MidiTestController(const QString& name) : name_(name) {
    plugBack();
}

MidiTestController::~MidiTestController() = default;

void MidiTestController::plugBack() {
    out_ = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, name_.toStdString());
    out_->openVirtualPort("out");
    in_ = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, name_.toStdString());
    in_->setCallback(&MidiTestController::receive, this);
    in_->openVirtualPort("in");
}

void MidiTestController::unplug() {
    in_.reset();
    out_.reset();
}

void MidiTestController::serverGone() {
    // Kept for the test's life, where the leak check sees them.
    static auto* const kept = new std::vector<void*>;
    kept->push_back(in_.release());
    kept->push_back(out_.release());
}

void MidiTestController::receive(double, std::vector<unsigned char>* bytes, void* self) {
    auto* controller = static_cast<MidiTestController*>(self);
    if (bytes->size() != 3 || ((*bytes)[0] & 0xF0) != 0x90)
        return;
    const std::lock_guard lock(controller->mutex_);
    controller->received_.push_back({((*bytes)[0] & 0x0F) + 1, (*bytes)[1], (*bytes)[2]});
}

std::vector<MidiTestController::Note> MidiTestController::received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

void MidiTestController::forget() {
    const std::lock_guard lock(mutex_);
    received_.clear();
}

void MidiTestController::send(unsigned char status, int number, int value) {
    const std::vector<unsigned char> bytes = {status, static_cast<unsigned char>(number),
                                              static_cast<unsigned char>(value)};
    out_->sendMessage(&bytes);
}

void MidiTestController::note(int channel, int number, int velocity) {
    send(static_cast<unsigned char>(0x90 | (channel - 1)), number, velocity);
}

void MidiTestController::cc(int channel, int number, int value) {
    send(static_cast<unsigned char>(0xB0 | (channel - 1)), number, value);
}

} // namespace velmor::test
