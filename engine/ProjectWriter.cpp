#include "engine/ProjectWriter.h"

#include <algorithm>
#include <cstring>

#include "engine/ProjectFormat.h"
#include "platform/Debug.h"

namespace vorn::engine {

namespace {

using namespace project;

class Writer {
public:
    std::vector<uint8_t> bytes;

    void u32(uint32_t value) {
        uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
        bytes.insert(bytes.end(), b, b + 4);
    }
    void i32(int32_t value) { u32(uint32_t(value)); }
    void f32(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        u32(bits);
    }
    void byte(uint8_t value) { bytes.push_back(value); }
    void count(std::size_t n) { u32(uint32_t(n)); }
    void text(const std::string& value) {
        std::size_t length = std::min(value.find('\0'), value.size());
        if (length > kMaxTextBytes) length = kMaxTextBytes;
        if (length < value.size())
            platform::debugLine("project text \"" + value.substr(0, std::min<std::size_t>(length, 40)) +
                                "...\" cut to " + std::to_string(length) + " bytes: readers take at most " +
                                std::to_string(kMaxTextBytes) + " bytes and no 0 byte");
        bytes.insert(bytes.end(), value.begin(), value.begin() + std::ptrdiff_t(length));
        bytes.push_back(0);
    }

    void section(const ProjectHeader& header) {
        u32(kHeaderMarker);
        text(header.projectName);
        text(header.resourceDirectory);
        text(header.musicFile);
        text(header.alternateMusicFile);
        text(header.headerText);
    }
    void section(const NodesSection& nodes) {
        u32(kNodesMarker);
        count(nodes.size());
        for (const auto& entry : nodes) {
            text(entry.nodeName);
            text(entry.typeName);
        }
    }
    void section(const CountersSection& counters) {
        u32(kCountersMarker);
        count(counters.size());
        for (const auto& entry : counters) {
            text(entry.key);
            u32(entry.value);
        }
    }
    void section(const WiringSection& wiring) {
        u32(kWiringMarker);
        count(wiring.size());
        for (const auto& record : wiring) {
            text(record.nodeName);
            count(record.inputs.size());
            for (const auto& input : record.inputs) {
                u32(input.index);
                text(input.source);
            }
        }
    }
    void section(const ParametersSection& parameters) {
        u32(kParametersMarker);
        count(parameters.size());
        for (const auto& group : parameters) {
            text(group.nodeName);
            count(std::count_if(group.parameters.begin(), group.parameters.end(), writable));
            for (const auto& parameter : group.parameters) {
                if (!writable(parameter)) {
                    platform::debugLine("parameter \"" + parameter.name + "\" of node \"" + group.nodeName +
                                        "\" left out: type code " + std::to_string(parameter.typeCode) +
                                        " has no encoding");
                    continue;
                }
                text(parameter.name);
                u32(parameter.typeCode);
                value(parameter);
            }
        }
    }
    // Codes above 6 have no value encoding; a reader could not get past one.
    static bool writable(const StoredParameter& parameter) { return parameter.typeCode <= 6; }

    void value(const StoredParameter& parameter) {
        switch (parameter.typeCode) {
            case 0: byte(parameter.byte); break;
            case 1: i32(parameter.integer); break;
            case 2: f32(parameter.floats[0]); break;
            case 3: for (int i = 0; i < 2; ++i) f32(parameter.floats[std::size_t(i)]); break;
            case 4: for (float component : parameter.floats) f32(component); break;
            case 5: text(parameter.text); break;
            default: break;  // 6 stores nothing
        }
    }
    void section(const TracksSection& tracks) {
        u32(kTracksMarker);
        count(tracks.size());
        for (const auto& group : tracks) {
            text(group.nodeName);
            count(group.tracks.size());
            for (const auto& track : group.tracks) {
                text(track.trackName);
                text(track.nodeName);
                f32(track.rangeMin);
                f32(track.rangeMax);
                count(track.keys.size());
                for (const Keyframe& key : track.keys) {
                    f32(key.value);
                    f32(key.time);
                    i32(key.interpolation);
                }
            }
        }
    }
    void section(const LinksSection& links) {
        u32(kLinksMarker);
        count(links.size());
        for (const auto& link : links) {
            text(link.nodeName);
            text(link.trackName);
            text(link.parameterName);
        }
    }
    void section(const UnknownMarker& unknown) { u32(unknown.marker); }
};

}  // namespace

std::vector<uint8_t> writeProjectDocument(const ProjectDocument& document) {
    Writer out;
    out.u32(kMagic);
    for (const ProjectSection& section : document.sections)
        std::visit([&](const auto& content) { out.section(content); }, section);
    return std::move(out.bytes);
}

}  // namespace vorn::engine
