// A keyframe handler that records what widgets ask of the engine.
#pragma once

#include "engine/Value_Keyframe_Handler.h"

#include <string>
#include <vector>

namespace vorn::test {

class KeyframeSpy : public engine::Value_Keyframe_Handler {
public:
    void addKeyframe(const std::string& node, const std::string& parameter) override { log("add", node, parameter); }
    bool removeTracks(const std::string& node, const std::string& parameter) override {
        log("remove", node, parameter);
        return true;
    }
    void setKeyAtCurrentTime(const std::string& node, const std::string& parameter) override {
        log("key", node, parameter);
    }
    bool hasKeyframes(const std::string&, const std::string&) const override { return false; }
    bool linkSyncTrack(const std::string& node, const std::string& track, const std::string&) override {
        log("link", node, track);
        return true;
    }
    bool unlinkSyncTrack(const std::string& node, const std::string& track) override {
        log("unlink", node, track);
        return true;
    }
    bool isSyncLinked(const std::string&, const std::string&) const override { return false; }

    std::vector<std::string> calls;  // "key Move.Position", ...

private:
    void log(const char* what, const std::string& node, const std::string& name) {
        calls.push_back(std::string(what) + " " + node + "." + name);
    }
};

}  // namespace vorn::test
