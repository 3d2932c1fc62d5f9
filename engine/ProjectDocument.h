// The project file as plain data: its sections as they stand in the file, in
// file order, with every entry as stored (names without any merge prefix,
// parameter values by their stored type code). The reader and the writer
// convert between this and bytes; the engine converts between this and a scene.
// Nothing here knows about nodes or the engine.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "engine/Keyframe.h"

namespace vorn::engine {

struct ProjectHeader {
    std::string projectName;
    std::string resourceDirectory;
    std::string musicFile;
    std::string alternateMusicFile;
    std::string headerText;
};

struct NodeTypeEntry {
    std::string nodeName;
    std::string typeName;
};
using NodesSection = std::vector<NodeTypeEntry>;

struct TypeCounterEntry {
    std::string key;
    uint32_t value = 0;
};
using CountersSection = std::vector<TypeCounterEntry>;

struct WiringInput {
    uint32_t index = 0;  // the input number as stored (writers count 0, 1, 2 ...)
    std::string source;  // the connected node's name, empty when unconnected
};
struct WiringRecord {
    std::string nodeName;
    std::vector<WiringInput> inputs;  // the stored inputCount is inputs.size()
};
using WiringSection = std::vector<WiringRecord>;

// One stored parameter. typeCode says which value field holds the value:
// 0 byte, 1 integer, 2 floats[0], 3 floats[0..1], 4 floats[0..3], 5 text, 6 none.
struct StoredParameter {
    std::string name;
    uint32_t typeCode = 0;
    uint8_t byte = 0;
    int32_t integer = 0;
    std::array<float, 4> floats{};
    std::string text;
};
struct ParameterGroup {
    std::string nodeName;
    std::vector<StoredParameter> parameters;
};
using ParametersSection = std::vector<ParameterGroup>;

struct StoredTrack {
    std::string trackName;
    std::string nodeName;
    float rangeMin = 0.0f;
    float rangeMax = 0.0f;
    std::vector<Keyframe> keys;
};
struct TrackGroup {
    std::string nodeName;  // the key of the group (the owning node's name)
    std::vector<StoredTrack> tracks;
};
using TracksSection = std::vector<TrackGroup>;

struct StoredLink {
    std::string nodeName;
    std::string trackName;
    std::string parameterName;
};
using LinksSection = std::vector<StoredLink>;

// A marker that opens no known section; readers skip these four bytes.
struct UnknownMarker {
    uint32_t marker = 0;
};

using ProjectSection = std::variant<ProjectHeader, NodesSection, CountersSection, WiringSection,
                                    ParametersSection, TracksSection, LinksSection, UnknownMarker>;

struct ProjectDocument {
    std::vector<ProjectSection> sections;  // in file order
};

// Calls visit on every text of the document, in file order.
void forEachText(ProjectDocument& document, const std::function<void(std::string&)>& visit);

}  // namespace vorn::engine
