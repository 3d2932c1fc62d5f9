// Keyframe tracks of the engine: creating, keying, removing and evaluating
// them, by node name and parameter name as the editor calls them.
#include "engine/Engine.h"
#include "engine/TrackNaming.h"

namespace vorn::engine {

namespace {

// Component suffixes a track of the parameter may carry.
constexpr const char* kComponentSuffixes[] = {".x", ".y", ".r", ".g", ".b", ".a"};

}  // namespace

KeyframeTrack* Engine::findTrack(const std::string& nodeName, const std::string& trackName) {
    auto list = tracksByNode.find(nodeName);
    if (list == tracksByNode.end()) return nullptr;
    for (KeyframeTrack& track : list->second)
        if (track.trackName == trackName) return &track;
    return nullptr;
}

void Engine::addKeyframe(const std::string& nodeName, const std::string& parameterName) {
    ensureTracks(nodeName, parameterName);
    setKeyAtCurrentTime(nodeName, parameterName);
}

bool Engine::removeTracks(const std::string& nodeName, const std::string& parameterName) {
    auto list = tracksByNode.find(nodeName);
    if (list == tracksByNode.end()) return false;
    std::string base = nodeName + "." + parameterName;
    auto ofParameter = [&](const KeyframeTrack& track) {
        if (track.trackName == base) return true;
        for (const char* suffix : kComponentSuffixes)
            if (track.trackName == base + suffix) return true;
        return false;
    };
    std::size_t before = list->second.size();
    std::erase_if(list->second, ofParameter);
    return list->second.size() != before;
}

void Engine::setKeyAtCurrentTime(const std::string& nodeName, const std::string& parameterName) {
    Node* node = findNode(nodeName);
    if (!node) return;
    const Value_Object* parameter = findParameter(parametersOf(*node), parameterName);
    if (!parameter) return;
    for (const TrackSlot& slot : trackSlotsFor(nodeName, *parameter))
        if (KeyframeTrack* track = findTrack(nodeName, slot.trackName)) setKey(*track, time, *slot.target);
}

bool Engine::hasKeyframes(const std::string& nodeName, const std::string& parameterName) const {
    auto list = tracksByNode.find(nodeName);
    if (list == tracksByNode.end()) return false;
    std::string base = nodeName + "." + parameterName;
    for (const KeyframeTrack& track : list->second)
        if (track.trackName.find(base) != std::string::npos) return true;
    return false;
}

bool Engine::ensureTracks(const std::string& nodeName, const std::string& parameterName) {
    Node* node = findNode(nodeName);
    if (!node) return false;
    const Value_Object* parameter = findParameter(parametersOf(*node), parameterName);
    if (!parameter) return false;
    std::vector<TrackSlot> slots = trackSlotsFor(nodeName, *parameter);
    if (slots.empty()) return false;
    for (const TrackSlot& slot : slots)
        if (findTrack(nodeName, slot.trackName)) return false;

    TrackRange range = trackRangeFor(*parameter);
    TrackList& list = tracksByNode[nodeName];
    for (TrackSlot& slot : slots) {
        KeyframeTrack track;
        track.target = slot.target;
        track.rangeMin = range.rangeMin;
        track.rangeMax = range.rangeMax;
        track.trackName = std::move(slot.trackName);
        track.node = node;
        list.push_back(std::move(track));
    }
    return true;
}

void Engine::evaluateKeyframes() {
    for (auto& [nodeName, list] : tracksByNode)
        for (KeyframeTrack& track : list) evaluateKeys(track.keys, time, *track.target);
}

}  // namespace vorn::engine
