#include "controllers/MidiPorts.h"

#include "controllers/Lights.h"

#include "audio/AlsaPcmList.h"
#include "audio/JackServer.h"
#include "audio/QuietSoundLibraries.h"
#include "audio/SpscRing.h"
#include "common/UiThread.h"

#include <RtMidi.h>
#include <alsa/asoundlib.h>
#include <atomic>
#include <jack/jack.h>
#include <utility>

namespace velmor {

namespace {
void IgnoreRtMidi(RtMidiError::Type, const std::string&, void*) {}

// Whether ALSA's sequencer opens: without one (no /dev/snd/seq), RtMidi would throw and say
// so on the terminal at every look.
bool AlsaSequencerOpens() {
    const std::lock_guard lock(audio::AlsaConfigurationLock()); // ALSA reads its configuration
    snd_seq_t* sequencer = nullptr;
    if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        return false;
    snd_seq_close(sequencer);
    return true;
}

bool IsOurs(const QString& port) {
    const QString client = port.section(u':', 0, 0);
    return client == MidiPorts::kClientName ||
           client.startsWith(QString(MidiPorts::kClientName) + "-");
}

template <typename Midi> QStringList PortNames(Midi& midi) {
    QStringList names;
    const unsigned count = midi.getPortCount();
    for (unsigned i = 0; i < count; ++i)
        names << QString::fromStdString(midi.getPortName(i));
    return names;
}

// Keeps a client of a JACK server gone for the program's life, unclosed: libjack fails on
// closing it.
void KeepUnclosed(void* client) {
    static auto* const kept = new std::vector<void*>;
    if (client)
        kept->push_back(client);
}

template <typename Midi> std::unique_ptr<Midi> Client(RtMidi::Api api) {
    const std::lock_guard lock(audio::AlsaConfigurationLock()); // ALSA's sequencer opens
    auto midi = std::make_unique<Midi>(api, MidiPorts::kClientName);
    midi->setErrorCallback(IgnoreRtMidi, nullptr);
    return midi;
}
} // namespace

// One MIDI system and the clients that list its ports. JACK's are watched by a client of
// their own: once their server has gone, libjack fails even on closing them, so they are let
// go, not deleted, and the system is opened afresh once a server runs again.
struct MidiPorts::Api {
    explicit Api(RtMidi::Api kind) : api(kind) {}
    ~Api() {
        if (watch && !serverGone)
            jack_client_close(watch);
    }
    Api(const Api&) = delete;
    Api& operator=(const Api&) = delete;

    // Whether its ports can be listed now: ALSA's sequencer opens, or a JACK server runs (and
    // is watched from now on).
    bool opens() {
        if (api == RtMidi::LINUX_ALSA)
            return AlsaSequencerOpens();
        if (watch)
            return true;
        if (!audio::JackServerMayRun())
            return false;
        jack_status_t status{};
        watch = jack_client_open("Velmor watch", JackNoStartServer, &status);
        if (!watch)
            return false;
        serverGone = false;
        jack_on_shutdown(
            watch, [](void* gone) { static_cast<std::atomic<bool>*>(gone)->store(true); },
            &serverGone);
        if (jack_activate(watch) == 0)
            return true;
        jack_client_close(watch);
        watch = nullptr;
        return false;
    }

    RtMidi::Api api;
    std::unique_ptr<RtMidiIn> inputs;
    std::unique_ptr<RtMidiOut> outputs;
    jack_client_t* watch = nullptr;
    std::atomic<bool> serverGone{false}; // set on the JACK client's own thread
};

// An input port listened to. Its ring outlives its client, whose thread writes into it.
struct MidiPorts::OpenPort {
    QString name;
    Api* api = nullptr;
    MidiPorts* owner = nullptr;
    audio::SpscRing<MidiMessage> ring{1024};
    std::atomic<bool> wakePending{false};
    std::unique_ptr<RtMidiIn> in;
    std::unique_ptr<RtMidiOut> out;
};

MidiPorts::MidiPorts(QObject* parent) : QObject(parent) {
    audio::QuietSoundLibraries();
    timer_.setInterval(kLookIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &MidiPorts::look);
    std::vector<RtMidi::Api> compiled;
    RtMidi::getCompiledApi(compiled);
    for (RtMidi::Api api : compiled)
        if (api == RtMidi::LINUX_ALSA || api == RtMidi::UNIX_JACK)
            apis_.push_back(std::make_unique<Api>(api));
}

MidiPorts::~MidiPorts() {
    for (auto& api : apis_)
        if (api->serverGone)
            letGo(*api, false);
    open_.clear(); // each port's threads end before the lists go
}

void MidiPorts::letGo(Api& api, bool tell) {
    KeepUnclosed(api.inputs.release());
    KeepUnclosed(api.outputs.release());
    KeepUnclosed(std::exchange(api.watch, nullptr));
    api.serverGone = false;
    for (auto it = open_.begin(); it != open_.end();) {
        if (it->second->api != &api) {
            ++it;
            continue;
        }
        KeepUnclosed(it->second->in.release());
        KeepUnclosed(it->second->out.release());
        const QString name = it->first;
        it = open_.erase(it);
        if (tell)
            emit lost(name);
    }
}

void MidiPorts::start() {
    look();
    timer_.start();
}

void MidiPorts::look() {
    QStringList seen;
    std::map<QString, std::pair<Api*, unsigned>> where;
    for (auto& api : apis_) {
        if (api->serverGone)
            letGo(*api, true);
        try {
            if (!api->inputs) {
                if (!api->opens())
                    continue;
                api->inputs = Client<RtMidiIn>(api->api);
                api->outputs = Client<RtMidiOut>(api->api);
            }
            const QStringList names = PortNames(*api->inputs);
            for (unsigned i = 0; i < unsigned(names.size()); ++i)
                if (!IsOurs(names[int(i)]) && !where.count(names[int(i)])) {
                    where[names[int(i)]] = {api.get(), i};
                    seen << names[int(i)];
                }
        } catch (const RtMidiError&) {
            api->inputs.reset(); // tried again at the next look
            api->outputs.reset();
        }
    }
    for (auto it = open_.begin(); it != open_.end();) {
        if (where.count(it->first)) {
            ++it;
            continue;
        }
        const QString name = it->first;
        it = open_.erase(it);
        emit lost(name);
    }
    for (const auto& [name, at] : where)
        if (!switchedOff_.contains(name) && !open_.count(name))
            open(*at.first, name, at.second);
    for (auto& [name, port] : open_)
        if (!port->out)
            openOutput(*port);
    if (seen != inputs_) {
        inputs_ = seen;
        emit inputsChanged();
    }
}

void MidiPorts::open(Api& api, const QString& name, unsigned index) {
    auto port = std::make_unique<OpenPort>();
    port->name = name;
    port->api = &api;
    port->owner = this;
    try {
        port->in = Client<RtMidiIn>(api.api);
        port->in->setCallback(
            [](double, std::vector<unsigned char>* bytes, void* data) {
                auto* self = static_cast<OpenPort*>(data);
                const auto message = ReadMidiMessage(bytes->data(), bytes->size());
                if (!message || !self->ring.push(*message))
                    return;
                if (!self->wakePending.exchange(true))
                    WakeUiThread(self->owner, "deliver");
            },
            port.get());
        port->in->openPort(index, "in");
    } catch (const RtMidiError&) {
        return; // gone meanwhile, or refused: tried again at the next look
    }
    OpenPort& opened = *port;
    open_[name] = std::move(port);
    emit taken(name);
    openOutput(opened);
}

void MidiPorts::openOutput(OpenPort& port) {
    if (!port.api->outputs)
        return;
    try {
        const QStringList outputs = PortNames(*port.api->outputs);
        const auto output = MatchingOutput(port.name, outputs);
        if (!output)
            return;
        auto out = Client<RtMidiOut>(port.api->api);
        out->openPort(unsigned(outputs.indexOf(*output)), "lights");
        port.out = std::move(out);
    } catch (const RtMidiError&) {
        return;
    }
    emit outputOpened(port.name);
}

void MidiPorts::setSwitchedOff(const QStringList& ports) {
    switchedOff_ = ports;
    for (const QString& port : ports)
        open_.erase(port);
}

void MidiPorts::send(const QString& port, const std::vector<unsigned char>& bytes) {
    const auto it = open_.find(port);
    if (it == open_.end() || !it->second->out)
        return;
    try {
        it->second->out->sendMessage(&bytes);
    } catch (const RtMidiError&) {
        // The port went: the next look tells.
    }
}

void MidiPorts::deliver() {
    // Taken first: what a message sets off may open or close ports.
    std::vector<std::pair<QString, MidiMessage>> arrived;
    for (auto& [name, port] : open_) {
        port->wakePending = false;
        while (const auto message = port->ring.take())
            arrived.emplace_back(name, *message);
    }
    for (const auto& [name, message] : arrived)
        emit received(name, message);
}

} // namespace velmor
