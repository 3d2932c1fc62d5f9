#include "tools/project/ProjectJson.h"

#include "engine/ProjectFormat.h"

namespace vorn::tools {

namespace {

using namespace engine;

// ---- to JSON

Json text(const std::string& bytes) { return textToJson(bytes); }
Json number(float value) { return floatToJson(value); }

Json parameterValue(const StoredParameter& parameter) {
    switch (parameter.typeCode) {
        case 0:
            if (parameter.byte <= 1) return parameter.byte == 1;
            return parameter.byte;
        case 1: return parameter.integer;
        case 2: return number(parameter.floats[0]);
        case 3: return Json::array({number(parameter.floats[0]), number(parameter.floats[1])});
        case 4: {
            Json values = Json::array();
            for (float component : parameter.floats) values.push_back(number(component));
            return values;
        }
        case 5: return text(parameter.text);
        default: return nullptr;
    }
}

struct ToJson {
    Json operator()(const ProjectHeader& header) const {
        return Json{{"section", "header"},
                    {"projectName", text(header.projectName)},
                    {"resourceDirectory", text(header.resourceDirectory)},
                    {"musicFile", text(header.musicFile)},
                    {"alternateMusicFile", text(header.alternateMusicFile)},
                    {"headerText", text(header.headerText)}};
    }
    Json operator()(const NodesSection& nodes) const {
        Json entries = Json::array();
        for (const auto& entry : nodes) entries.push_back({{"name", text(entry.nodeName)}, {"type", text(entry.typeName)}});
        return Json{{"section", "nodes"}, {"entries", std::move(entries)}};
    }
    Json operator()(const CountersSection& counters) const {
        Json entries = Json::array();
        for (const auto& entry : counters) entries.push_back({{"key", text(entry.key)}, {"value", entry.value}});
        return Json{{"section", "counters"}, {"entries", std::move(entries)}};
    }
    Json operator()(const WiringSection& wiring) const {
        Json entries = Json::array();
        for (const auto& record : wiring) {
            Json inputs = Json::array();
            for (const auto& input : record.inputs)
                inputs.push_back({{"index", input.index}, {"source", text(input.source)}});
            entries.push_back({{"node", text(record.nodeName)}, {"inputs", std::move(inputs)}});
        }
        return Json{{"section", "wiring"}, {"entries", std::move(entries)}};
    }
    Json operator()(const ParametersSection& parameters) const {
        Json entries = Json::array();
        for (const auto& group : parameters) {
            Json list = Json::array();
            for (const auto& parameter : group.parameters) {
                Json item{{"name", text(parameter.name)}, {"type", parameter.typeCode}};
                if (parameter.typeCode != 6) item["value"] = parameterValue(parameter);
                list.push_back(std::move(item));
            }
            entries.push_back({{"node", text(group.nodeName)}, {"parameters", std::move(list)}});
        }
        return Json{{"section", "parameters"}, {"entries", std::move(entries)}};
    }
    Json operator()(const TracksSection& tracks) const {
        Json entries = Json::array();
        for (const auto& group : tracks) {
            Json list = Json::array();
            for (const auto& track : group.tracks) {
                Json keys = Json::array();
                for (const Keyframe& key : track.keys)
                    keys.push_back({{"value", number(key.value)},
                                    {"time", number(key.time)},
                                    {"interpolation", key.interpolation}});
                list.push_back({{"name", text(track.trackName)},
                                {"node", text(track.nodeName)},
                                {"rangeMin", number(track.rangeMin)},
                                {"rangeMax", number(track.rangeMax)},
                                {"keys", std::move(keys)}});
            }
            entries.push_back({{"node", text(group.nodeName)}, {"tracks", std::move(list)}});
        }
        return Json{{"section", "tracks"}, {"entries", std::move(entries)}};
    }
    Json operator()(const LinksSection& links) const {
        Json entries = Json::array();
        for (const auto& link : links)
            entries.push_back({{"node", text(link.nodeName)},
                               {"track", text(link.trackName)},
                               {"parameter", text(link.parameterName)}});
        return Json{{"section", "links"}, {"entries", std::move(entries)}};
    }
    Json operator()(const UnknownMarker& unknown) const {
        return Json{{"section", "unknown"}, {"marker", bitPattern(unknown.marker)}};
    }
};

// ---- from JSON: every read names where it looked, so errors say where.

// A stored text: 8-bit, without a zero byte, within the project's text limit.
std::string storedText(const JsonReader& reader) {
    std::string bytes = reader.text();
    if (bytes.find('\0') != std::string::npos) reader.fail("a text cannot hold U+0000");
    if (bytes.size() > project::kMaxTextBytes)
        reader.fail("a text holds at most " + std::to_string(project::kMaxTextBytes) + " bytes");
    return bytes;
}

StoredParameter parameterFrom(const JsonReader& item) {
    StoredParameter parameter;
    parameter.name = storedText(item["name"]);
    parameter.typeCode = item["type"].integer<uint32_t>();
    if (parameter.typeCode > 6) item["type"].fail("type codes run from 0 to 6");
    if (parameter.typeCode == 6) return parameter;
    JsonReader value = item["value"];
    switch (parameter.typeCode) {
        case 0:
            parameter.byte = value.json().is_boolean() ? uint8_t(value.json().get<bool>()) : value.integer<uint8_t>();
            break;
        case 1: parameter.integer = value.integer<int32_t>(); break;
        case 2: parameter.floats[0] = value.number(); break;
        case 3:
        case 4: {
            std::size_t count = parameter.typeCode == 3 ? 2 : 4;
            std::vector<JsonReader> components = value.items();
            if (components.size() != count) value.fail("expected " + std::to_string(count) + " numbers");
            for (std::size_t i = 0; i < count; ++i) parameter.floats[i] = components[i].number();
            break;
        }
        case 5: parameter.text = storedText(value); break;
    }
    return parameter;
}

ProjectSection sectionFrom(const JsonReader& section) {
    std::string kind = section["section"].word();
    if (kind == "header") {
        return ProjectHeader{storedText(section["projectName"]), storedText(section["resourceDirectory"]),
                             storedText(section["musicFile"]), storedText(section["alternateMusicFile"]),
                             storedText(section["headerText"])};
    }
    if (kind == "unknown") {
        uint32_t marker = section["marker"].integer<uint32_t>();
        if (marker >= project::kHeaderMarker && marker <= project::kLinksMarker)
            section["marker"].fail("a section's marker cannot stand alone");
        return UnknownMarker{marker};
    }
    std::vector<JsonReader> entries = section["entries"].items();
    if (kind == "nodes") {
        NodesSection nodes;
        for (const JsonReader& entry : entries) nodes.push_back({storedText(entry["name"]), storedText(entry["type"])});
        return nodes;
    }
    if (kind == "counters") {
        CountersSection counters;
        for (const JsonReader& entry : entries) counters.push_back({storedText(entry["key"]), entry["value"].integer<uint32_t>()});
        return counters;
    }
    if (kind == "wiring") {
        WiringSection wiring;
        for (const JsonReader& entry : entries) {
            WiringRecord record{storedText(entry["node"]), {}};
            for (const JsonReader& input : entry["inputs"].items())
                record.inputs.push_back({input["index"].integer<uint32_t>(), storedText(input["source"])});
            wiring.push_back(std::move(record));
        }
        return wiring;
    }
    if (kind == "parameters") {
        ParametersSection parameters;
        for (const JsonReader& entry : entries) {
            ParameterGroup group{storedText(entry["node"]), {}};
            for (const JsonReader& item : entry["parameters"].items()) group.parameters.push_back(parameterFrom(item));
            parameters.push_back(std::move(group));
        }
        return parameters;
    }
    if (kind == "tracks") {
        TracksSection tracks;
        for (const JsonReader& entry : entries) {
            TrackGroup group{storedText(entry["node"]), {}};
            for (const JsonReader& item : entry["tracks"].items()) {
                StoredTrack track{storedText(item["name"]), storedText(item["node"]), item["rangeMin"].number(),
                                  item["rangeMax"].number(), {}};
                for (const JsonReader& key : item["keys"].items())
                    track.keys.push_back(
                        Keyframe{key["value"].number(), key["time"].number(), key["interpolation"].integer<int32_t>()});
                group.tracks.push_back(std::move(track));
            }
            tracks.push_back(std::move(group));
        }
        return tracks;
    }
    if (kind == "links") {
        LinksSection links;
        for (const JsonReader& entry : entries)
            links.push_back({storedText(entry["node"]), storedText(entry["track"]), storedText(entry["parameter"])});
        return links;
    }
    section["section"].fail("unknown section \"" + kind + "\"");
}

}  // namespace

Json documentToJson(const ProjectDocument& document) {
    Json sections = Json::array();
    for (const ProjectSection& section : document.sections) sections.push_back(std::visit(ToJson{}, section));
    return Json{{"format", "vorn project"}, {"sections", std::move(sections)}};
}

ProjectDocument documentFromJson(const Json& json) {
    JsonReader root(json, "project");
    ProjectDocument document;
    for (const JsonReader& section : root["sections"].items()) document.sections.push_back(sectionFrom(section));
    return document;
}

}  // namespace vorn::tools
