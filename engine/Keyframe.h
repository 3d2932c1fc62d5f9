// Keyframe tracks: lists of (value, time, interpolation) keys that drive one
// float of a node (a float parameter or one component of a vec2/vec4) from the
// engine time. The engine owns the tracks; this file holds the record and the
// two operations on a single track, evaluation and key insertion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::engine {

class Node;

// Interpolation codes of a key; each governs the segment that ends at its key.
// Any other code behaves as Cosine.
enum Interpolation : int32_t {
    Cosine = 0,
    Linear = 1,
    CubicIn = 2,
    CubicOut = 3,
};

// Also the on-disk form of a key (12 bytes).
struct Keyframe {
    float value = 0.0f;
    float time = 0.0f;  // seconds of engine time
    int32_t interpolation = Linear;
};
static_assert(sizeof(Keyframe) == 12);

struct KeyframeTrack {
    float* target = nullptr;  // the parameter's value, or one component of it
    float rangeMin = 0.0f;    // curve display range of the editor; stored in the project
    float rangeMax = 1.0f;
    std::vector<Keyframe> keys;  // ascending in time (the editor keeps them so)
    std::string trackName;       // "Node.Param", "Node.Param.x", "Node.Color.r" ...
    Node* node = nullptr;
};

// Weight of the later key for u in [0, 1).
float interpolationWeight(int32_t interpolation, float u);

// The value the keys give at time t, in 32-bit float throughout. Returns false
// (and leaves value alone) when the keys give none: no keys, or - only with
// keys out of time order - no segment containing t.
bool evaluateKeys(const std::vector<Keyframe>& keys, float t, float& value);

// Sets a key at time: replaces the value of a key at exactly that time (its
// interpolation stays), else inserts a Linear key before the first later key,
// else appends.
void setKey(KeyframeTrack& track, float time, float value);

}  // namespace vorn::engine
