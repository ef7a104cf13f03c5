#include "deck/player/TrackOpener.h"

#include "audio/Decoder.h"
#include "common/FileNames.h"
#include "common/FileSystem.h"

namespace velmor {

namespace {
TrackOpener::Opened OpenTrack(const TrackOpener::OpenFunction& open, const QString& path) {
    TrackOpener::Opened opened;
    const auto refused = [&](const QString& cause) {
        opened.failure = CannotBe(path, QStringLiteral("played"), cause);
    };
    try {
        opened.decoder = open(FileNameToBytes(path).toStdString());
        opened.seconds =
            static_cast<double>(opened.decoder->lengthFrames()) / opened.decoder->sampleRate();
        opened.tags = ReadTrackTags(path);
    } catch (const audio::DecodeError& e) {
        opened.decoder.reset();
        refused(e.systemError() ? PlainCause(e.systemError(), Access::Read)
                                : QString::fromLocal8Bit(e.what()));
    } catch (const std::exception& e) {
        opened.decoder.reset();
        refused(QString::fromLocal8Bit(e.what()));
    }
    return opened;
}
} // namespace

TrackOpener::TrackOpener()
    : open_(std::make_shared<const OpenFunction>(
          [](const std::string& path) { return audio::OpenDecoder(path); })) {}

TrackOpener::~TrackOpener() = default;

void TrackOpener::setOpenFunction(OpenFunction open) {
    open_ = std::make_shared<const OpenFunction>(std::move(open));
}

BackgroundWork::Job TrackOpener::open(const QString& path, Done done) {
    return work_.post(
        [open = open_, path, done = std::move(done)](const BackgroundWork::Task& task) {
            if (task.cancelled())
                return;
            // Shared, so that the result can travel as a call; only one call ever takes it.
            auto opened = std::make_shared<Opened>(OpenTrack(*open, path));
            task.deliver([opened, done] { done(std::move(*opened)); });
        });
}

} // namespace velmor
