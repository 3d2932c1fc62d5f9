// What the editor's widgets may ask of the engine about one parameter: keying
// it and linking it to a sync track. Parameters are named by node name and
// parameter name, as everywhere in the system.
#pragma once

#include <string>

namespace vorn::engine {

class Value_Keyframe_Handler {
public:
    virtual ~Value_Keyframe_Handler() = default;

    virtual void addKeyframe(const std::string& nodeName, const std::string& parameterName) = 0;
    virtual bool removeTracks(const std::string& nodeName, const std::string& parameterName) = 0;
    virtual void setKeyAtCurrentTime(const std::string& nodeName, const std::string& parameterName) = 0;
    virtual bool hasKeyframes(const std::string& nodeName, const std::string& parameterName) const = 0;
    virtual bool linkSyncTrack(const std::string& nodeName, const std::string& trackName,
                               const std::string& parameterName) = 0;
    // nodeName is not consulted: track names are unique among links.
    virtual bool unlinkSyncTrack(const std::string& nodeName, const std::string& trackName) = 0;
    virtual bool isSyncLinked(const std::string& nodeName, const std::string& parameterName) const = 0;
};

}  // namespace vorn::engine
