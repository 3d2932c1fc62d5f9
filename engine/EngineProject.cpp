// Saving and loading the scene through the project document: the engine's
// side of the project file, turning a scene into a document and back.
#include <limits>

#include "engine/Engine.h"
#include "engine/PathRelocation.h"
#include "engine/ProjectReader.h"
#include "engine/ProjectWriter.h"
#include "engine/TrackNaming.h"
#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

namespace vorn::engine {

namespace {

StoredParameter storedParameter(const Value_Object& record) {
    StoredParameter stored;
    stored.name = record.name;
    stored.typeCode = uint32_t(record.type());
    switch (record.type()) {
        case ValueType::Bool: stored.byte = *static_cast<const ValueBool&>(record).target ? 1 : 0; break;
        case ValueType::Int: stored.integer = *static_cast<const ValueInt&>(record).target; break;
        case ValueType::Float: stored.floats[0] = *static_cast<const ValueFloat&>(record).target; break;
        case ValueType::Vec2: {
            const float* value = static_cast<const ValueVec2&>(record).target;
            stored.floats = {value[0], value[1], 0.0f, 0.0f};
            break;
        }
        case ValueType::Vec4: {
            const float* value = static_cast<const ValueVec4&>(record).target;
            stored.floats = {value[0], value[1], value[2], value[3]};
            break;
        }
        case ValueType::String: stored.text = *static_cast<const ValueString&>(record).target; break;
        case ValueType::MultiInt: break;
    }
    return stored;
}

// Writes a stored value through a record of the same type.
void restoreParameter(const Value_Object& record, const StoredParameter& stored) {
    switch (record.type()) {
        case ValueType::Bool: *static_cast<const ValueBool&>(record).target = stored.byte != 0; break;
        case ValueType::Int: *static_cast<const ValueInt&>(record).target = stored.integer; break;
        case ValueType::Float: *static_cast<const ValueFloat&>(record).target = stored.floats[0]; break;
        case ValueType::Vec2: {
            float* value = static_cast<const ValueVec2&>(record).target;
            value[0] = stored.floats[0];
            value[1] = stored.floats[1];
            break;
        }
        case ValueType::Vec4: {
            float* value = static_cast<const ValueVec4&>(record).target;
            for (std::size_t i = 0; i < 4; ++i) value[i] = stored.floats[i];
            break;
        }
        case ValueType::String: *static_cast<const ValueString&>(record).target = stored.text; break;
        case ValueType::MultiInt: break;
    }
}

const Value_Object* findParameterOfType(const ParameterList& list, const std::string& name, uint32_t typeCode) {
    for (const auto& record : list)
        if (record->name == name && uint32_t(record->type()) == typeCode) return record.get();
    return nullptr;
}

}  // namespace

ProjectDocument Engine::projectDocument() const {
    ProjectDocument document;
    document.sections.emplace_back(
        ProjectHeader{projectName, resourceDirectory, musicFile, alternateMusicFile, headerText});

    NodesSection nodes;
    for (const auto& [nodeName, typeName] : nodeTypes) nodes.push_back({nodeName, typeName});
    document.sections.emplace_back(std::move(nodes));

    CountersSection counters;
    for (const auto& [key, value] : typeCounters) counters.push_back({key, value});
    document.sections.emplace_back(std::move(counters));

    WiringSection wiring;
    for (const auto& [nodeName, node] : nodesByName) {
        WiringRecord record{nodeName, {}};
        for (int32_t i = 0; i < node->inputCount; ++i) {
            const Node* input = node->inputs[std::size_t(i)];
            record.inputs.push_back({uint32_t(i), input ? input->name : std::string()});
        }
        wiring.push_back(std::move(record));
    }
    document.sections.emplace_back(std::move(wiring));

    ParametersSection parameters;
    for (const auto& [node, list] : parametersByNode) {
        ParameterGroup group{node->name, {}};
        for (const auto& record : list) group.parameters.push_back(storedParameter(*record));
        parameters.push_back(std::move(group));
    }
    document.sections.emplace_back(std::move(parameters));

    TracksSection tracks;
    for (const auto& [nodeName, list] : tracksByNode) {
        TrackGroup group{nodeName, {}};
        for (const KeyframeTrack& track : list)
            group.tracks.push_back(
                {track.trackName, track.node ? track.node->name : nodeName, track.rangeMin, track.rangeMax, track.keys});
        tracks.push_back(std::move(group));
    }
    document.sections.emplace_back(std::move(tracks));

    LinksSection links;
    for (const SyncLink& link : syncLinks) links.push_back({link.node->name, link.trackName, link.parameterName});
    document.sections.emplace_back(std::move(links));
    return document;
}

bool Engine::saveProject(const std::string& path) {
    // Animated parameters are stored with their values at time 0.
    float remembered = time;
    time = 0.0f;
    evaluateKeyframes();

    ProjectDocument document = projectDocument();
    std::string directory = platform::currentDirectory();
    forEachText(document, [&](std::string& text) { text = relativeToDirectory(text, directory); });
    std::vector<uint8_t> bytes = writeProjectDocument(document);

    std::string whyNot;
    bool written = platform::writeFile(path, bytes, &whyNot);
    if (!written) platform::debugLine("cannot write project " + platform::displayPath(path) + ": " + whyNot);

    time = remembered;
    evaluateKeyframes();
    return written;
}

bool Engine::loadProject(const std::string& path, bool askToClear, const std::string& prefix) {
    std::string whyNot;
    std::optional<std::vector<uint8_t>> bytes = platform::readFile(path, platform::kMaxProjectFileBytes, &whyNot);
    if (!bytes) {
        platform::debugLine("cannot open project " + platform::displayPath(path) + ": " + whyNot);
        return false;
    }
    return loadProjectBytes(*bytes, platform::displayPath(path), askToClear, prefix);
}

bool Engine::loadProjectBytes(std::span<const uint8_t> bytes, const std::string& sourceName, bool askToClear,
                              const std::string& prefix) {
    ProjectReadResult read = readProjectDocument(bytes);
    // Checked before anything changes: a file that is not a project leaves the scene as it was.
    if (read.status == ProjectReadStatus::NotAProject) {
        platform::debugLine("cannot load " + sourceName + ": " + read.problem);
        return false;
    }
    if (askToClear) {
        if (!nodeSet.empty() && confirm && !confirm("Load and clear scene?", "VORN")) return false;
        clearScene();
    }
    time = 0.0f;
    evaluateKeyframes();
    applyProjectDocument(read.document, prefix);
    processAll();
    if (read.status != ProjectReadStatus::Complete) {
        // What was read stays loaded: a demo with a damaged tail still plays.
        platform::debugLine("project " + sourceName + " is damaged (" + read.problem + "); loaded what came before");
        return false;
    }
    return true;
}

void Engine::applyProjectDocument(const ProjectDocument& document, const std::string& prefix) {
    struct Apply {
        Engine& engine;
        const std::string& prefix;

        void operator()(const ProjectHeader& header) const {
            engine.projectName = header.projectName;
            engine.resourceDirectory = header.resourceDirectory;
            engine.musicFile = header.musicFile;  // a new file is loaded by the next update
            engine.alternateMusicFile = header.alternateMusicFile;
            engine.headerText = header.headerText;
        }
        void operator()(const NodesSection& nodes) const {
            // A type that cannot be created leaves no node but stays recorded.
            for (const auto& entry : nodes) engine.createNode(prefix + entry.nodeName, entry.typeName);
        }
        void operator()(const CountersSection& counters) const {
            for (const auto& entry : counters) engine.typeCounters[prefix + entry.key] = entry.value;
        }
        void operator()(const WiringSection& wiring) const {
            for (const auto& record : wiring) {
                std::string target = prefix + record.nodeName;
                if (!engine.findNode(target)) continue;
                for (const auto& input : record.inputs) {
                    if (input.source.empty() || input.index > uint32_t(std::numeric_limits<int32_t>::max())) continue;
                    engine.connect(prefix + input.source, target, int32_t(input.index));
                }
            }
        }
        void operator()(const ParametersSection& parameters) const {
            for (const auto& group : parameters) {
                Node* node = engine.findNode(prefix + group.nodeName);
                if (!node) continue;
                const ParameterList& list = engine.parametersOf(*node);
                for (const auto& stored : group.parameters)
                    if (const Value_Object* record = findParameterOfType(list, stored.name, stored.typeCode))
                        restoreParameter(*record, stored);
            }
        }
        void operator()(const TracksSection& tracks) const {
            for (const auto& group : tracks) {
                for (const auto& stored : group.tracks) {
                    Node* node = engine.findNode(prefix + stored.nodeName);
                    if (!node) continue;
                    KeyframeTrack track;
                    track.trackName = prefix + stored.trackName;
                    track.target = resolveTrackTarget(engine.parametersOf(*node), node->name, track.trackName);
                    if (!track.target) continue;
                    track.rangeMin = stored.rangeMin;
                    track.rangeMax = stored.rangeMax;
                    track.keys = stored.keys;
                    track.node = node;
                    engine.tracksByNode[node->name].push_back(std::move(track));
                }
            }
        }
        void operator()(const LinksSection& links) const {
            for (const auto& link : links)
                if (Node* node = engine.findNode(prefix + link.nodeName))
                    engine.syncLinks.push_back(SyncLink{node, link.parameterName, link.trackName});
        }
        void operator()(const UnknownMarker&) const {}
    };
    for (const ProjectSection& section : document.sections) std::visit(Apply{*this, prefix}, section);
}

}  // namespace vorn::engine
