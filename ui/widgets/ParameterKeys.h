// What a parameter widget needs to key its parameter and show whether it is
// keyed: the engine's keyframe handler and the parameter's node and name.
#pragma once

#include "engine/Value_Keyframe_Handler.h"

#include <string>

namespace vorn::ui {

struct ParameterKeys {
    engine::Value_Keyframe_Handler* handler = nullptr;
    std::string nodeName;
    std::string parameterName;

    bool hasKeyframes() const { return handler && handler->hasKeyframes(nodeName, parameterName); }
    void addKeyframe() const { if (handler) handler->addKeyframe(nodeName, parameterName); }
    void removeTracks() const { if (handler) handler->removeTracks(nodeName, parameterName); }
    void keyNow() const { if (handler) handler->setKeyAtCurrentTime(nodeName, parameterName); }
};

}  // namespace vorn::ui
