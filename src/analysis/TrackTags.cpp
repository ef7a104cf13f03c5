#include "analysis/TrackTags.h"

#include "analysis/GainTags.h"
#include "common/FileNames.h"

#include <QStringList>
#include <taglib/fileref.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tpropertymap.h>

namespace velmor {

namespace {

// TagLib tells of damaged tags on the standard error; a damaged tag is as good as none here.
class Silence : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void SilenceTagLib() {
    static Silence silence;
    static const bool once = (TagLib::setDebugListener(&silence), true);
    (void)once;
}

// The values of a property, joined where a tag gives several ("Artist A, Artist B").
QString Text(const TagLib::PropertyMap& properties, const char* key) {
    const auto found = properties.find(key);
    if (found == properties.end())
        return {};
    QStringList values;
    for (const TagLib::String& value : found->second) {
        const QString text = QString::fromUtf8(value.toCString(true)).trimmed();
        if (!text.isEmpty())
            values.append(text);
    }
    return values.join(QStringLiteral(", "));
}

// The year of a date tag ("1983", "1983-11-30"); none for anything else.
int YearOf(const QString& date) {
    bool ok = false;
    const int year = date.left(4).toInt(&ok);
    return ok && date.size() >= 4 && year > 0 ? year : 0;
}

TrackTags TagsOf(const TagLib::File& file) {
    const TagLib::PropertyMap properties = file.properties();
    TrackTags tags;
    tags.artist = Text(properties, "ARTIST");
    tags.title = Text(properties, "TITLE");
    tags.album = Text(properties, "ALBUM");
    tags.genre = Text(properties, "GENRE");
    tags.year = YearOf(Text(properties, "DATE"));
    tags.taggedLoudness = TaggedLoudness(Text(properties, "REPLAYGAIN_TRACK_GAIN"),
                                         Text(properties, "R128_TRACK_GAIN"));
    return tags;
}

} // namespace

TrackTags ReadTrackTags(const QString& path) {
    SilenceTagLib();
    const QByteArray bytes = FileNameToBytes(path);
    const TagLib::FileRef file(bytes.constData(), false);
    if (file.isNull())
        return {};
    return TagsOf(*file.file());
}

TaggedTrack ReadTaggedTrack(const QString& path) {
    SilenceTagLib();
    const QByteArray bytes = FileNameToBytes(path);
    const TagLib::FileRef file(bytes.constData(), true, TagLib::AudioProperties::Fast);
    // TagLib opens any file named .mp3; one without a frame of sound has no length.
    if (file.isNull() || !file.audioProperties() ||
        file.audioProperties()->lengthInMilliseconds() <= 0)
        return {};
    return {true, TagsOf(*file.file()), file.audioProperties()->lengthInMilliseconds() / 1000.0};
}

QString TaggedName(const TrackTags& tags) {
    if (tags.artist.isEmpty() || tags.title.isEmpty())
        return {};
    return tags.artist + QStringLiteral(" \u2013 ") + tags.title;
}

} // namespace velmor
