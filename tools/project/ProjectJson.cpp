#include "tools/project/ProjectJson.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>

#include "engine/ProjectFormat.h"
#include "platform/TextEncoding.h"

namespace vorn::tools {

namespace {

using namespace engine;

// ---- to JSON

Json text(const std::string& bytes) { return platform::latin1ToUtf8(bytes); }

std::string bitPattern(uint32_t bits) {
    char hex[11];
    std::snprintf(hex, sizeof hex, "0x%08X", bits);
    return hex;
}

Json number(float value) {
    if (std::isfinite(value)) return value;
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bitPattern(bits);
}

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

class Reader {
public:
    Reader(const Json& json, std::string where) : json_(json), where_(std::move(where)) {}

    [[noreturn]] void fail(const std::string& what) const { throw ProjectJsonError(where_ + ": " + what); }

    Reader operator[](const char* key) const {
        if (!json_.is_object()) fail("expected an object");
        auto found = json_.find(key);
        if (found == json_.end()) fail(std::string("missing \"") + key + "\"");
        return Reader(*found, where_ + "." + key);
    }
    bool has(const char* key) const { return json_.is_object() && json_.contains(key); }

    std::vector<Reader> items() const {
        if (!json_.is_array()) fail("expected an array");
        std::vector<Reader> list;
        for (std::size_t i = 0; i < json_.size(); ++i)
            list.emplace_back(json_[i], where_ + "[" + std::to_string(i) + "]");
        return list;
    }
    std::size_t size() const { return json_.is_array() ? json_.size() : 0; }

    std::string text() const {
        if (!json_.is_string()) fail("expected a string");
        const std::string& utf8 = json_.get_ref<const std::string&>();
        std::string bytes;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                bytes.push_back(char(c));
            } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                       (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
                bytes.push_back(char(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
            } else {
                fail("characters above U+00FF cannot be stored: texts are 8-bit");
            }
        }
        if (bytes.find('\0') != std::string::npos) fail("a text cannot hold U+0000");
        if (bytes.size() > project::kMaxTextBytes)
            fail("a text holds at most " + std::to_string(project::kMaxTextBytes) + " bytes");
        return bytes;
    }

    std::string word() const {
        if (!json_.is_string()) fail("expected a string");
        return json_.get<std::string>();
    }

    template <class Integer>
    Integer integer() const {
        if (json_.is_number_unsigned()) {
            uint64_t value = json_.get<uint64_t>();
            if (value <= uint64_t(std::numeric_limits<Integer>::max())) return Integer(value);
        } else if (json_.is_number_integer()) {
            int64_t value = json_.get<int64_t>();
            if (value >= int64_t(std::numeric_limits<Integer>::min()) &&
                value <= int64_t(std::numeric_limits<Integer>::max()))
                return Integer(value);
        } else if (json_.is_string()) {
            if (auto bits = bitPatternValue(); bits && sizeof(Integer) == 4) return Integer(*bits);
        }
        fail(std::string("expected an integer from ") + std::to_string(std::numeric_limits<Integer>::min()) +
             " to " + std::to_string(std::numeric_limits<Integer>::max()));
    }

    float number() const {
        if (json_.is_number()) return json_.get<float>();
        if (auto bits = bitPatternValue()) {
            float value;
            std::memcpy(&value, &*bits, 4);
            return value;
        }
        fail("expected a number or a bit pattern such as \"0x7FC00000\"");
    }

    const Json& json() const { return json_; }

private:
    std::optional<uint32_t> bitPatternValue() const {
        if (!json_.is_string()) return std::nullopt;
        const std::string& s = json_.get_ref<const std::string&>();
        if (s.size() != 10 || s[0] != '0' || (s[1] != 'x' && s[1] != 'X')) return std::nullopt;
        uint32_t bits = 0;
        for (std::size_t i = 2; i < 10; ++i) {
            char c = s[i];
            int digit = c >= '0' && c <= '9' ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) return std::nullopt;
            bits = bits << 4 | uint32_t(digit);
        }
        return bits;
    }

    const Json& json_;
    std::string where_;
};

StoredParameter parameterFrom(const Reader& item) {
    StoredParameter parameter;
    parameter.name = item["name"].text();
    parameter.typeCode = item["type"].integer<uint32_t>();
    if (parameter.typeCode > 6) item["type"].fail("type codes run from 0 to 6");
    if (parameter.typeCode == 6) return parameter;
    Reader value = item["value"];
    switch (parameter.typeCode) {
        case 0:
            parameter.byte = value.json().is_boolean() ? uint8_t(value.json().get<bool>()) : value.integer<uint8_t>();
            break;
        case 1: parameter.integer = value.integer<int32_t>(); break;
        case 2: parameter.floats[0] = value.number(); break;
        case 3:
        case 4: {
            std::size_t count = parameter.typeCode == 3 ? 2 : 4;
            std::vector<Reader> components = value.items();
            if (components.size() != count) value.fail("expected " + std::to_string(count) + " numbers");
            for (std::size_t i = 0; i < count; ++i) parameter.floats[i] = components[i].number();
            break;
        }
        case 5: parameter.text = value.text(); break;
    }
    return parameter;
}

ProjectSection sectionFrom(const Reader& section) {
    std::string kind = section["section"].word();
    if (kind == "header") {
        return ProjectHeader{section["projectName"].text(), section["resourceDirectory"].text(),
                             section["musicFile"].text(), section["alternateMusicFile"].text(),
                             section["headerText"].text()};
    }
    if (kind == "unknown") {
        uint32_t marker = section["marker"].integer<uint32_t>();
        if (marker >= project::kHeaderMarker && marker <= project::kLinksMarker)
            section["marker"].fail("a section's marker cannot stand alone");
        return UnknownMarker{marker};
    }
    std::vector<Reader> entries = section["entries"].items();
    if (kind == "nodes") {
        NodesSection nodes;
        for (const Reader& entry : entries) nodes.push_back({entry["name"].text(), entry["type"].text()});
        return nodes;
    }
    if (kind == "counters") {
        CountersSection counters;
        for (const Reader& entry : entries) counters.push_back({entry["key"].text(), entry["value"].integer<uint32_t>()});
        return counters;
    }
    if (kind == "wiring") {
        WiringSection wiring;
        for (const Reader& entry : entries) {
            WiringRecord record{entry["node"].text(), {}};
            for (const Reader& input : entry["inputs"].items())
                record.inputs.push_back({input["index"].integer<uint32_t>(), input["source"].text()});
            wiring.push_back(std::move(record));
        }
        return wiring;
    }
    if (kind == "parameters") {
        ParametersSection parameters;
        for (const Reader& entry : entries) {
            ParameterGroup group{entry["node"].text(), {}};
            for (const Reader& item : entry["parameters"].items()) group.parameters.push_back(parameterFrom(item));
            parameters.push_back(std::move(group));
        }
        return parameters;
    }
    if (kind == "tracks") {
        TracksSection tracks;
        for (const Reader& entry : entries) {
            TrackGroup group{entry["node"].text(), {}};
            for (const Reader& item : entry["tracks"].items()) {
                StoredTrack track{item["name"].text(), item["node"].text(), item["rangeMin"].number(),
                                  item["rangeMax"].number(), {}};
                for (const Reader& key : item["keys"].items())
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
        for (const Reader& entry : entries)
            links.push_back({entry["node"].text(), entry["track"].text(), entry["parameter"].text()});
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
    Reader root(json, "project");
    ProjectDocument document;
    for (const Reader& section : root["sections"].items()) document.sections.push_back(sectionFrom(section));
    return document;
}

}  // namespace vorn::tools
