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
} // namespace

QString AudioSetupFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/velmor/audio.conf";
}

AudioSetup ReadAudioSetup(const QString& file) {
    AudioSetup setup;
    if (QFileInfo(file).size() > kMaxSetupFileBytes)
        return setup;
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return setup; // a file that is no settings file is as good as none
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
    return setup;
}

bool WriteAudioSetup(const QString& file, const AudioSetup& setup) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings settings(file, QSettings::IniFormat);
    settings.clear();
    settings.setValue("output/device", setup.device);
    settings.setValue("output/buffer-frames", setup.bufferFrames);
    settings.setValue("headphones/route", kRoutes[static_cast<int>(setup.phones)]);
    settings.setValue("headphones/device", setup.phonesDevice);
    settings.sync(); // written to a new file that then takes the old one's place
    return settings.status() == QSettings::NoError;
}

} // namespace velmor
