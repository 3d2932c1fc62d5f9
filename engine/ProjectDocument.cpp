#include "engine/ProjectDocument.h"

namespace vorn::engine {

namespace {

struct TextVisitor {
    const std::function<void(std::string&)>& visit;

    void operator()(ProjectHeader& header) const {
        for (std::string* text : {&header.projectName, &header.resourceDirectory, &header.musicFile,
                                  &header.alternateMusicFile, &header.headerText})
            visit(*text);
    }
    void operator()(NodesSection& nodes) const {
        for (auto& entry : nodes) {
            visit(entry.nodeName);
            visit(entry.typeName);
        }
    }
    void operator()(CountersSection& counters) const {
        for (auto& entry : counters) visit(entry.key);
    }
    void operator()(WiringSection& wiring) const {
        for (auto& record : wiring) {
            visit(record.nodeName);
            for (auto& input : record.inputs) visit(input.source);
        }
    }
    void operator()(ParametersSection& parameters) const {
        for (auto& group : parameters) {
            visit(group.nodeName);
            for (auto& parameter : group.parameters) {
                visit(parameter.name);
                if (parameter.typeCode == 5) visit(parameter.text);
            }
        }
    }
    void operator()(TracksSection& tracks) const {
        for (auto& group : tracks) {
            visit(group.nodeName);
            for (auto& track : group.tracks) {
                visit(track.trackName);
                visit(track.nodeName);
            }
        }
    }
    void operator()(LinksSection& links) const {
        for (auto& link : links) {
            visit(link.nodeName);
            visit(link.trackName);
            visit(link.parameterName);
        }
    }
    void operator()(UnknownMarker&) const {}
};

}  // namespace

void forEachText(ProjectDocument& document, const std::function<void(std::string&)>& visit) {
    for (ProjectSection& section : document.sections) std::visit(TextVisitor{visit}, section);
}

}  // namespace vorn::engine
