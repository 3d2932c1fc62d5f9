#include "engine/Keyframe.h"

#include <cmath>

namespace vorn::engine {

float interpolationWeight(int32_t interpolation, float u) {
    switch (interpolation) {
        case Linear: return u;
        case CubicIn: return u * u * u;
        case CubicOut: {
            float v = 1.0f - u;
            return 1.0f - v * v * v;
        }
        default: return (1.0f - std::cos(u * 3.1415927f)) / 2.0f;  // Cosine and unknown codes
    }
}

bool evaluateKeys(const std::vector<Keyframe>& keys, float t, float& value) {
    const std::size_t n = keys.size();
    if (n == 0) return false;
    if (n == 1 || keys.front().time > t) {
        value = keys.front().value;
        return true;
    }
    if (t >= keys.back().time) {
        value = keys.back().value;
        return true;
    }
    // A forward walk over every segment would keep the last one containing t;
    // walking backwards and stopping at the first match gives that same segment.
    // With time-ordered keys exactly one segment matches; zero-length ones never do.
    for (std::size_t i = n - 1; i-- > 0;) {
        const Keyframe& a = keys[i];
        const Keyframe& b = keys[i + 1];
        if (a.time <= t && t < b.time) {
            float d = b.time - a.time;
            if (!(d > 0.0f)) continue;
            float w = interpolationWeight(b.interpolation, (t - a.time) / d);
            value = (1.0f - w) * a.value + w * b.value;
            return true;
        }
    }
    return false;
}

void setKey(KeyframeTrack& track, float time, float value) {
    auto& keys = track.keys;
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (it->time > time) {
            keys.insert(it, Keyframe{value, time, Linear});
            return;
        }
        if (it->time == time) {
            it->value = value;
            return;
        }
    }
    keys.push_back(Keyframe{value, time, Linear});
}

}  // namespace vorn::engine
