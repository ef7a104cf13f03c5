#include "deck/player/JingleBank.h"

#include "audio/Engine.h"
#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "common/Reporter.h"
#include "deck/player/JingleSlots.h"

#include <QFile>
#include <cmath>

namespace velmor {

namespace {
QString Minutes(double seconds) {
    const int whole = static_cast<int>(std::ceil(seconds));
    return QString("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QChar('0'));
}

float GainOfJingleLevel(int level) {
    return level <= -4500 ? 0.0f : audio::Engine::GainOfLevel(level);
}
} // namespace

JingleBank::JingleBank(std::function<audio::Engine&()> engine, Reporter& reporter, QObject* parent)
    : QObject(parent), engine_(std::move(engine)), reporter_(reporter) {}

audio::Engine* JingleBank::engine() {
    return engine_ ? &engine_() : nullptr;
}

void JingleBank::keepIn(const QString& file) {
    file_ = file;
    QFile in(file);
    if (!in.exists())
        return;
    int strange = 0;
    const QStringList files = in.open(QIODevice::ReadOnly)
                                  ? ReadJingleSlotsText(in.read(64 * 1024), kSlots, &strange)
                                  : QStringList();
    if (strange > 0)
        reporter_.notice(QString(kJinglesStrange).arg(file).arg(strange));
    for (int slot = 0; slot < files.size(); ++slot)
        if (!files[slot].isEmpty())
            read(slot, files[slot], false);
}

void JingleBank::assign(int slot, const QString& path) {
    read(slot, path, true);
}

void JingleBank::clear(int index) {
    Slot& slot = slots_[index];
    slot = Slot{};
    if (audio::Engine* engine = this->engine())
        engine->jingles().setSound(index, nullptr);
    keep();
    emit slotChanged(index);
}

// The file is read on the worker at the engine's rate. A file the person gave that cannot be
// read is refused with a box and the slot keeps what it had; one kept from an evening before
// keeps its slot, told once now and again when fired.
void JingleBank::read(int index, const QString& path, bool asked) {
    audio::Engine* engine = this->engine();
    Slot& slot = slots_[index];
    const uint64_t reading = ++readings_;
    slot.reading = reading;
    if (!asked) {
        slot.file = path;
        slot.state = engine ? State::Reading : State::Empty;
        emit slotChanged(index);
    }
    if (!engine)
        return;
    const int rate = engine->sampleRate();
    work_.post([this, index, path, asked, reading, rate](const BackgroundWork::Task& task) {
        std::shared_ptr<audio::JingleSound> sound;
        QString failure;
        try {
            sound = audio::ReadJingle(FileNameToBytes(path).toStdString(), rate, kMaxSeconds);
        } catch (const audio::JingleTooLong& tooLong) {
            failure = QString(kJingleTooLong)
                          .arg(DisplayName(path), Minutes(tooLong.seconds()))
                          .arg(kMaxSeconds);
        } catch (const audio::DecodeError& e) {
            failure = CannotBe(path, "a jingle",
                               e.systemError() ? PlainCause(e.systemError(), Access::Read)
                                               : QString::fromLocal8Bit(e.what()));
        } catch (const std::exception& e) {
            failure = CannotBe(path, "a jingle", QString::fromLocal8Bit(e.what()));
        }
        task.deliver([this, index, path, asked, reading, sound, failure] {
            Slot& slot = slots_[index];
            if (slot.reading != reading)
                return; // given another file since
            if (!failure.isEmpty() && asked) {
                reporter_.show(failure, kAppTitle, Icon::Exclamation);
                return;
            }
            slot.file = path;
            slot.failure = failure;
            slot.state = failure.isEmpty() ? State::Ready : State::Unreadable;
            if (!failure.isEmpty())
                reporter_.notice(
                    QString(kJingleNotRead).arg(index + 1).arg(DisplayName(path), failure));
            auto owned = std::make_unique<audio::JingleSound>();
            if (sound)
                owned->samples = std::move(sound->samples);
            engine_().jingles().setSound(index, sound ? std::move(owned) : nullptr);
            if (asked)
                keep();
            emit slotChanged(index);
        });
    });
}

void JingleBank::keep() {
    if (file_.isEmpty())
        return;
    QStringList files;
    for (const Slot& slot : slots_)
        files << slot.file;
    if (!WriteJingleSlots(file_, files))
        reporter_.notice(QString(kJinglesNotKept).arg(file_));
}

void JingleBank::fire(int index) {
    const Slot& slot = slots_[index];
    audio::Engine* engine = slot.state == State::Empty ? nullptr : this->engine();
    if (slot.state == State::Unreadable)
        reporter_.notice(QString(kJingleGone).arg(index + 1).arg(DisplayName(slot.file)));
    if (slot.state == State::Empty)
        reporter_.notice(QString(kJingleEmpty).arg(index + 1));
    if (!engine || slot.state != State::Ready)
        return;
    audio::JinglePlayer& jingles = engine->jingles();
    if (jingles.playing(index))
        jingles.stop(index);
    else
        jingles.play(index);
}

bool JingleBank::playing(int index) const {
    return engine_ && slots_[index].state == State::Ready && engine_().jingles().playing(index);
}

void JingleBank::stopAll() {
    if (audio::Engine* engine = this->engine())
        for (int slot = 0; slot < kSlots; ++slot)
            engine->jingles().stop(slot);
    setOutputLevel(volume_ <= 0 ? -4500 : volume_ * 45 - 4500);
}

void JingleBank::setVolume(int volume) {
    volume_ = volume;
    setOutputLevel(volume <= 0 ? -4500 : volume * 45 - 4500);
}

void JingleBank::setOutputLevel(int level) {
    outputLevel_ = level;
    if (audio::Engine* engine = this->engine())
        engine->jingles().setLevel(GainOfJingleLevel(level));
}

audio::LevelReading JingleBank::takeLevels() {
    audio::Engine* engine = this->engine();
    return engine ? engine->jingles().takeLevels() : audio::LevelReading{};
}

} // namespace velmor
