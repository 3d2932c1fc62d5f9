#include "engine/ProjectReader.h"

#include <algorithm>
#include <cstring>

#include "engine/ProjectFormat.h"
#include "platform/Debug.h"

namespace vorn::engine {

namespace {

using namespace project;

uint32_t loadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Each read either takes its bytes or reports that the file ended.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> bytes) : data_(bytes.data()), size_(bytes.size()) {}

    std::size_t position() const { return pos_; }
    bool atEnd() const { return pos_ == size_; }
    std::size_t remaining() const { return size_ - pos_; }

    bool u32(uint32_t& value) {
        if (remaining() < 4) return false;
        value = loadU32(data_ + pos_);
        pos_ += 4;
        return true;
    }
    bool i32(int32_t& value) {
        uint32_t bits;
        if (!u32(bits)) return false;
        value = int32_t(bits);
        return true;
    }
    bool f32(float& value) {
        uint32_t bits;
        if (!u32(bits)) return false;
        std::memcpy(&value, &bits, 4);
        return true;
    }
    bool byte(uint8_t& value) {
        if (remaining() < 1) return false;
        value = data_[pos_++];
        return true;
    }
    // A 0-terminated text; longer ones keep their first kMaxTextBytes bytes.
    bool text(std::string& value) {
        const uint8_t* start = data_ + pos_;
        const void* zero = std::memchr(start, 0, remaining());
        if (!zero) return false;
        std::size_t length = std::size_t(static_cast<const uint8_t*>(zero) - start);
        if (length > kMaxTextBytes) {
            platform::debugLine("project text at byte " + std::to_string(pos_) + " is " +
                                std::to_string(length) + " bytes long; kept the first " +
                                std::to_string(kMaxTextBytes));
            length = kMaxTextBytes;
        }
        value.assign(reinterpret_cast<const char*>(start), length);
        pos_ = std::size_t(static_cast<const uint8_t*>(zero) - data_) + 1;
        return true;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

enum class Outcome { Ok, Truncated, Damaged };

class DocumentReader {
public:
    DocumentReader(std::span<const uint8_t> bytes, ProjectReadResult& result) : in_(bytes), result_(result) {}

    void run() {
        uint32_t magic;
        if (!in_.u32(magic) || magic != kMagic) {
            result_.status = ProjectReadStatus::NotAProject;
            result_.problem = "not a project file (no project magic at its start)";
            return;
        }
        while (!in_.atEnd()) {
            std::size_t start = in_.position();
            uint32_t marker;
            if (!in_.u32(marker)) {
                fail(Outcome::Truncated, "truncated: " + std::to_string(in_.remaining()) +
                                             " stray bytes at byte " + std::to_string(start) +
                                             " where a section marker should be");
                return;
            }
            Outcome outcome = section(marker);
            if (outcome != Outcome::Ok) {
                if (result_.problem.empty())
                    fail(outcome, "truncated inside the " + sectionName(marker) +
                                      " section that starts at byte " + std::to_string(start));
                return;
            }
        }
    }

private:
    static std::string sectionName(uint32_t marker) {
        switch (marker) {
            case kHeaderMarker: return "header";
            case kNodesMarker: return "nodes";
            case kCountersMarker: return "counters";
            case kWiringMarker: return "wiring";
            case kParametersMarker: return "parameters";
            case kTracksMarker: return "tracks";
            case kLinksMarker: return "links";
            default: return "unknown";
        }
    }

    void fail(Outcome outcome, std::string problem) {
        result_.status = outcome == Outcome::Damaged ? ProjectReadStatus::Damaged : ProjectReadStatus::Truncated;
        result_.problem = std::move(problem);
    }

    Outcome section(uint32_t marker) {
        auto& sections = result_.document.sections;
        switch (marker) {
            case kHeaderMarker: {
                ProjectHeader header;
                if (!in_.text(header.projectName) || !in_.text(header.resourceDirectory) ||
                    !in_.text(header.musicFile) || !in_.text(header.alternateMusicFile) ||
                    !in_.text(header.headerText))
                    return Outcome::Truncated;  // a partial header is dropped
                sections.emplace_back(std::move(header));
                return Outcome::Ok;
            }
            case kNodesMarker: return entries<NodesSection>([&](NodeTypeEntry& entry) {
                return in_.text(entry.nodeName) && in_.text(entry.typeName) ? Outcome::Ok : Outcome::Truncated;
            });
            case kCountersMarker: return entries<CountersSection>([&](TypeCounterEntry& entry) {
                return in_.text(entry.key) && in_.u32(entry.value) ? Outcome::Ok : Outcome::Truncated;
            });
            case kWiringMarker: return entries<WiringSection>([&](WiringRecord& record) {
                return wiringRecord(record);
            });
            case kParametersMarker: return entries<ParametersSection>([&](ParameterGroup& group) {
                return parameterGroup(group);
            });
            case kTracksMarker: return entries<TracksSection>([&](TrackGroup& group) { return trackGroup(group); });
            case kLinksMarker: return entries<LinksSection>([&](StoredLink& link) {
                return in_.text(link.nodeName) && in_.text(link.trackName) && in_.text(link.parameterName)
                           ? Outcome::Ok
                           : Outcome::Truncated;
            });
            default:
                sections.emplace_back(UnknownMarker{marker});
                return Outcome::Ok;
        }
    }

    // A counted list. The section joins the document before its entries are
    // read, so whatever was read stays. An entry cut short is dropped, unless
    // readEntry set keepPartial_ (a group whose name was read keeps its whole
    // children).
    template <class Section, class ReadEntry>
    Outcome entries(ReadEntry readEntry) {
        uint32_t count;
        if (!in_.u32(count)) return Outcome::Truncated;
        auto& list = std::get<Section>(result_.document.sections.emplace_back(Section{}));
        for (uint32_t i = 0; i < count; ++i) {
            typename Section::value_type entry;
            Outcome outcome = readEntry(entry);
            if (outcome != Outcome::Ok) {
                if (keepPartial_) list.push_back(std::move(entry));
                keepPartial_ = false;
                return outcome;
            }
            list.push_back(std::move(entry));
        }
        return Outcome::Ok;
    }

    // Groups and records are kept once their name is read, with their complete
    // children; a child cut short is dropped.
    Outcome wiringRecord(WiringRecord& record) {
        uint32_t count;
        if (!in_.text(record.nodeName)) return Outcome::Truncated;
        keepPartial_ = true;
        if (!in_.u32(count)) return Outcome::Truncated;
        for (uint32_t i = 0; i < count; ++i) {
            WiringInput input;
            if (!in_.u32(input.index) || !in_.text(input.source)) return Outcome::Truncated;
            record.inputs.push_back(std::move(input));
        }
        keepPartial_ = false;
        return Outcome::Ok;
    }

    Outcome parameterGroup(ParameterGroup& group) {
        uint32_t count;
        if (!in_.text(group.nodeName)) return Outcome::Truncated;
        keepPartial_ = true;
        if (!in_.u32(count)) return Outcome::Truncated;
        for (uint32_t i = 0; i < count; ++i) {
            StoredParameter parameter;
            std::size_t start = in_.position();
            if (!in_.text(parameter.name) || !in_.u32(parameter.typeCode)) return Outcome::Truncated;
            Outcome outcome = parameterValue(parameter);
            if (outcome == Outcome::Damaged) {
                fail(outcome, "parameter \"" + parameter.name + "\" of node \"" + group.nodeName +
                                  "\" at byte " + std::to_string(start) + " has the unknown type code " +
                                  std::to_string(parameter.typeCode) + "; the rest of the file cannot be read");
            }
            if (outcome != Outcome::Ok) return outcome;
            group.parameters.push_back(std::move(parameter));
        }
        keepPartial_ = false;
        return Outcome::Ok;
    }

    Outcome parameterValue(StoredParameter& parameter) {
        bool ok;
        switch (parameter.typeCode) {
            case 0: ok = in_.byte(parameter.byte); break;
            case 1: ok = in_.i32(parameter.integer); break;
            case 2: ok = in_.f32(parameter.floats[0]); break;
            case 3: ok = in_.f32(parameter.floats[0]) && in_.f32(parameter.floats[1]); break;
            case 4:
                ok = in_.f32(parameter.floats[0]) && in_.f32(parameter.floats[1]) && in_.f32(parameter.floats[2]) &&
                     in_.f32(parameter.floats[3]);
                break;
            case 5: ok = in_.text(parameter.text); break;
            case 6: ok = true; break;
            default: return Outcome::Damaged;  // its value has no known length
        }
        return ok ? Outcome::Ok : Outcome::Truncated;
    }

    Outcome trackGroup(TrackGroup& group) {
        uint32_t count;
        if (!in_.text(group.nodeName)) return Outcome::Truncated;
        keepPartial_ = true;
        if (!in_.u32(count)) return Outcome::Truncated;
        for (uint32_t i = 0; i < count; ++i) {
            StoredTrack track;
            uint32_t keyCount;
            if (!in_.text(track.trackName) || !in_.text(track.nodeName) || !in_.f32(track.rangeMin) ||
                !in_.f32(track.rangeMax) || !in_.u32(keyCount))
                return Outcome::Truncated;
            // Keys are 12 bytes each: whole keys only, never more than the bytes hold.
            uint32_t available = uint32_t(std::min<std::size_t>(in_.remaining() / sizeof(Keyframe), keyCount));
            track.keys.resize(available);
            for (Keyframe& key : track.keys) {
                in_.f32(key.value);
                in_.f32(key.time);
                in_.i32(key.interpolation);
            }
            group.tracks.push_back(std::move(track));  // a track cut short keeps its whole keys
            if (available < keyCount) return Outcome::Truncated;
        }
        keepPartial_ = false;
        return Outcome::Ok;
    }

    Reader in_;
    ProjectReadResult& result_;
    bool keepPartial_ = false;
};

}  // namespace

bool hasProjectMagic(std::span<const uint8_t> bytes) {
    return bytes.size() >= 4 && loadU32(bytes.data()) == project::kMagic;
}

ProjectReadResult readProjectDocument(std::span<const uint8_t> bytes) {
    ProjectReadResult result;
    DocumentReader(bytes, result).run();
    return result;
}

}  // namespace vorn::engine
