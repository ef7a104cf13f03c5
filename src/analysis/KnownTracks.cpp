#include "analysis/KnownTracks.h"

namespace velmor {

const TrackFacts* KnownTracks::facts(const QString& path) const {
    const auto found = facts_.constFind(path);
    return found == facts_.constEnd() ? nullptr : &*found;
}

const TrackTags* KnownTracks::tags(const QString& path) const {
    const auto found = tags_.constFind(path);
    return found == tags_.constEnd() ? nullptr : &*found;
}

void KnownTracks::learnFacts(const QString& path, const TrackFacts& facts) {
    if (const TrackFacts* known = this->facts(path); known && *known == facts)
        return;
    facts_.insert(path, facts);
    emit learned(path);
}

void KnownTracks::learnTags(const QString& path, const TrackTags& tags) {
    if (const TrackTags* known = this->tags(path); known && *known == tags)
        return;
    tags_.insert(path, tags);
    emit learned(path);
}

std::optional<double> KnownTracks::length(const QString& path) const {
    if (const TrackFacts* known = facts(path); known && known->lengthSeconds > 0)
        return known->lengthSeconds;
    const auto found = lengths_.constFind(path);
    return found == lengths_.constEnd() ? std::nullopt : std::optional<double>(*found);
}

void KnownTracks::setLevelling(const Levelling& levelling) {
    if (levelling == levelling_)
        return;
    levelling_ = levelling;
    emit levellingChanged();
}

audio::TrackPlan KnownTracks::plan(const QString& path,
                                   std::optional<double> taggedLoudness) const {
    return PlanTrack(levelling_, facts(path), taggedLoudness);
}

} // namespace velmor
