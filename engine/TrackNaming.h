// How keyframe tracks are named after what they animate, and back. A float
// parameter P of node N is animated by the track "N.P"; a vec2 by "N.P.x" and
// "N.P.y"; a vec4 by "N.P.r", ".g", ".b", ".a". Other kinds are never animated.
// Reading a project turns a stored track name back into the float it drives.
#pragma once

#include <string>
#include <vector>

#include "engine/Value.h"

namespace vorn::engine {

struct TrackSlot {
    std::string trackName;
    float* target = nullptr;
};

// The tracks a parameter is animated through, in component order (none for
// kinds that are not animated).
std::vector<TrackSlot> trackSlotsFor(const std::string& nodeName, const Value_Object& parameter);

// The curve display range a new track of the parameter gets.
struct TrackRange {
    float rangeMin = 0.0f;
    float rangeMax = 1.0f;
};
TrackRange trackRangeFor(const Value_Object& parameter);

// The float the track named trackName drives among a node's parameters, or
// null when the name resolves to nothing.
float* resolveTrackTarget(const ParameterList& parameters, const std::string& nodeName,
                          const std::string& trackName);

}  // namespace vorn::engine
