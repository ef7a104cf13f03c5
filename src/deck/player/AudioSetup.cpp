#include "deck/player/AudioSetup.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <iterator>

namespace velmor {

namespace {
const char* const kRoutes[] = {"none", "main-channels-3-4", "device"};
// A set-up is a few lines: a file larger than this is no set-up of ours, and is not read.
constexpr qint64 kMaxSetupFileBytes = 64 * 1024;

// Hands the settings in `file` to `read`; a file too large, or no settings file, is as good
// as none and is not handed on.
template <typename Read> void ReadSettings(const QString& file, Read read) {
    if (QFileInfo(file).size() > kMaxSetupFileBytes)
        return;
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() == QSettings::NoError)
        read(settings);
}

// Keeps what `write` writes in `file`, with what else the file holds.
template <typename Write> bool WriteSettings(const QString& file, Write write) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings settings(file, QSettings::IniFormat);
    write(settings);
    settings.sync(); // written to a new file that then takes the old one's place
    return settings.status() == QSettings::NoError;
}

// A switch kept as "true" or "false"; anything else leaves `value` as it was.
void ReadSwitch(const QSettings& settings, const QString& key, bool& value) {
    const QString text = settings.value(key).toString();
    if (text == "true" || text == "false")
        value = text == "true";
}
} // namespace

QString AudioSetupFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/velmor/audio.conf";
}

AudioSetup ReadAudioSetup(const QString& file) {
    AudioSetup setup;
    ReadSettings(file, [&](const QSettings& settings) {
        setup.device = settings.value("output/device").toString();
        const QString route = settings.value("headphones/route").toString();
        for (size_t i = 0; i < std::size(kRoutes); ++i)
            if (route == kRoutes[i])
                setup.phones = static_cast<PhonesRoute>(i);
        setup.phonesDevice = settings.value("headphones/device").toString();
        if (setup.phones == PhonesRoute::Device && setup.phonesDevice.isEmpty())
            setup.phones = PhonesRoute::None;
        bool number = false;
        const int frames = settings.value("output/buffer-frames").toInt(&number);
        if (number && std::find(std::begin(kBufferSizes), std::end(kBufferSizes), frames) !=
                          std::end(kBufferSizes))
            setup.bufferFrames = frames;
    });
    return setup;
}

bool WriteAudioSetup(const QString& file, const AudioSetup& setup) {
    return WriteSettings(file, [&](QSettings& settings) {
        settings.remove("output");
        settings.remove("headphones");
        settings.setValue("output/device", setup.device);
        settings.setValue("output/buffer-frames", setup.bufferFrames);
        settings.setValue("headphones/route", kRoutes[static_cast<int>(setup.phones)]);
        settings.setValue("headphones/device", setup.phonesDevice);
    });
}

bool ReadUnheardMovesOn(const QString& file) {
    bool on = false;
    ReadSettings(file,
                 [&](const QSettings& settings) { ReadSwitch(settings, "silence/move_on", on); });
    return on;
}

bool WriteUnheardMovesOn(const QString& file, bool on) {
    return WriteSettings(file,
                         [&](QSettings& settings) { settings.setValue("silence/move_on", on); });
}

Levelling ReadLevelling(const QString& file) {
    Levelling levelling;
    ReadSettings(file, [&](const QSettings& settings) {
        ReadSwitch(settings, "loudness/enabled", levelling.enabled);
        ReadSwitch(settings, "silence/skip", levelling.skipSilence);
        bool number = false;
        const double target = settings.value("loudness/target").toDouble(&number);
        if (number && target >= Levelling::kMinTarget && target <= Levelling::kMaxTarget)
            levelling.target = target;
    });
    return levelling;
}

bool WriteLevelling(const QString& file, const Levelling& levelling) {
    return WriteSettings(file, [&](QSettings& settings) {
        settings.setValue("loudness/enabled", levelling.enabled);
        settings.setValue("loudness/target", levelling.target);
        settings.setValue("silence/skip", levelling.skipSilence);
    });
}

int ReadDuckDepth(const QString& file) {
    int depth = kDefaultDuckDb;
    ReadSettings(file, [&](const QSettings& settings) {
        bool number = false;
        const int db = settings.value("duck/depth").toInt(&number);
        if (number && db >= kMinDuckDb && db <= kMaxDuckDb)
            depth = db;
    });
    return depth;
}

bool WriteDuckDepth(const QString& file, int db) {
    return WriteSettings(file, [&](QSettings& settings) { settings.setValue("duck/depth", db); });
}

} // namespace velmor
