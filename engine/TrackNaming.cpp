#include "engine/TrackNaming.h"

#include <algorithm>
#include <string_view>

namespace vorn::engine {

namespace {

// Whole parameter names that contain a component-like suffix and are never
// read as a component. Older projects rely on exactly this list.
constexpr std::string_view kWholeNames[] = {
    "Translate.X", "Translate.Y", "Translate.Z", "Rotate.X",  "Rotate.Y",
    "Rotate.Z",    "Rotat-e.X",   "Rotat-e.Y",   "Rotat-e.Z",
};

float* floatTarget(const Value_Object* parameter) {
    if (!parameter || parameter->type() != ValueType::Float) return nullptr;
    return static_cast<const ValueFloat*>(parameter)->target;
}

float* componentTarget(const Value_Object* parameter, char component) {
    if (!parameter) return nullptr;
    if (parameter->type() == ValueType::Vec2) {
        float* target = static_cast<const ValueVec2*>(parameter)->target;
        return component == 'x' ? target : target + 1;
    }
    if (parameter->type() == ValueType::Vec4) {
        float* target = static_cast<const ValueVec4*>(parameter)->target;
        switch (component) {
            case 'x': case 'r': return target;
            case 'y': case 'g': return target + 1;
            case 'z': case 'b': return target + 2;
            default: return target + 3;
        }
    }
    return nullptr;
}

}  // namespace

std::vector<TrackSlot> trackSlotsFor(const std::string& nodeName, const Value_Object& parameter) {
    std::string base = nodeName + "." + parameter.name;
    switch (parameter.type()) {
        case ValueType::Float:
            return {{base, static_cast<const ValueFloat&>(parameter).target}};
        case ValueType::Vec2: {
            float* target = static_cast<const ValueVec2&>(parameter).target;
            return {{base + ".x", target}, {base + ".y", target + 1}};
        }
        case ValueType::Vec4: {
            float* target = static_cast<const ValueVec4&>(parameter).target;
            return {{base + ".r", target}, {base + ".g", target + 1}, {base + ".b", target + 2},
                    {base + ".a", target + 3}};
        }
        default: return {};
    }
}

TrackRange trackRangeFor(const Value_Object& parameter) {
    switch (parameter.type()) {
        case ValueType::Float: {
            const auto& value = static_cast<const ValueFloat&>(parameter);
            return {value.minimum, value.maximum};
        }
        case ValueType::Vec2: return {-1.0f, 2.0f};
        default: return {0.0f, 1.0f};  // vec4 components are mostly colours
    }
}

float* resolveTrackTarget(const ParameterList& parameters, const std::string& nodeName,
                          const std::string& trackName) {
    std::size_t at = trackName.find(nodeName);
    if (at == std::string::npos || at + nodeName.size() >= trackName.size()) return nullptr;
    std::string_view remainder = std::string_view(trackName).substr(at + nodeName.size() + 1);

    bool whole = std::find(std::begin(kWholeNames), std::end(kWholeNames), remainder) != std::end(kWholeNames);
    std::size_t lastDot = remainder.rfind('.');
    if (whole || lastDot == std::string_view::npos) return floatTarget(findParameter(parameters, remainder));

    float* target = componentTarget(findParameter(parameters, remainder.substr(0, lastDot)), remainder.back());
    // Float parameters made by addFloat3 beyond the list above ("Scale.X") would
    // otherwise lose their tracks on every load.
    return target ? target : floatTarget(findParameter(parameters, remainder));
}

}  // namespace vorn::engine
