#pragma once

#include "controllers/Mappings.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace velmor {

// A button's light on a controller: its note, on or off.
struct Light {
    int channel = 1;
    int note = 0;
    bool on = false;
    bool operator==(const Light&) const = default;
};

// The lights of the note buttons whose actions have a state to show; `stateOf` tells an
// action's state (play/pause: playing), none for an action with nothing to show.
std::vector<Light> LightsOf(const std::vector<Mapping>& mappings,
                            const std::function<std::optional<bool>(const QString&)>& stateOf);

// The output port that reaches the controller of an input port, of `outputs`: the one of the
// same name (ALSA's ports are both), else the one port of the same client (JACK numbers a
// second client of one name "-01"), else the input's name with "capture" read as "playback"
// (the bridge of ALSA's ports into JACK names them so).
std::optional<QString> MatchingOutput(const QString& input, const QStringList& outputs);

} // namespace velmor
